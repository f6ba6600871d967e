#include "cli/spectrum_plot.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <string_view>
#include <system_error>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QMessageLogContext>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QSvgGenerator>

#include "cli/number_text.h"
#include "evaluation/file_handle.h"

namespace ambersel::cli {
namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 700;
constexpr std::size_t kLabelledPoints = 3;

const QColor kInk(0x21, 0x21, 0x21);
const QColor kMutedInk(0x61, 0x61, 0x61);
const QColor kPassColour(0x2e, 0x7d, 0x32);
const QColor kFailColour(0xc6, 0x28, 0x28);
const QColor kWarningColour(0xb3, 0x59, 0x00);
const QColor kNonFiniteColour(0x6a, 0x1b, 0x9a);

QRectF plotArea() {
    return QRectF(QPointF(96, 112), QPointF(kWidth - 200, kHeight - 84));
}

QString text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QFont font(int pixelSize, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// A point placed in the picture: x is log10 of its frequency, y its level.
struct Mark {
    QPointF value;
    double weight = 0;  // share of F; not a number when the point's term is not finite
    std::size_t index = 0;
};

struct Range {
    double low = 0;
    double high = 1;
    double span() const { return high - low; }
};

// Everything drawn, worked out before any painting.
struct Picture {
    QString verdictLine;
    bool failed = false;
    QString fileName;
    QString summary;
    QString readingNote;
    QString weightName;
    std::vector<Mark> marks;     // lightest first, so heavy points are drawn on top
    std::vector<QPointF> trace;  // the spectrum's outline in frequency order
    double heaviestWeight = 0;
    bool anyNonFinite = false;
    Range frequencies;  // log10 of Hz
    Range levels;       // dBµV
};

QString percent(double fraction) {
    return text(roundedText(fraction * 100, 3) + "%");
}

QString frequencyText(double hertz) {
    struct Unit {
        double scale;
        const char* name;
    };
    static constexpr Unit kUnits[] = {{1e9, " GHz"}, {1e6, " MHz"}, {1e3, " kHz"}, {1, " Hz"}};
    for (const Unit& unit : kUnits) {
        if (hertz >= unit.scale * 0.9995 || unit.scale == 1) {
            return text(roundedText(hertz / unit.scale, 3) + unit.name);
        }
    }
    return {};
}

Range paddedRange(double low, double high, double emptyHalfWidth, double padding) {
    if (!(high - low > 1e-9)) {
        return {low - emptyHalfWidth, high + emptyHalfWidth};
    }
    const double pad = (high - low) * padding;
    return {low - pad, high + pad};
}

// The multiples of `step` from `low` to `high`: the places of an axis's lines.
std::vector<double> multiplesWithin(double low, double high, double step) {
    constexpr int kMostLines = 100;
    std::vector<double> values;
    const double first = std::ceil(low / step);
    for (int k = 0; k < kMostLines && (first + k) * step <= high; ++k) {
        values.push_back((first + k) * step);
    }
    return values;
}

double niceStep(double span, int wanted) {
    const double raw = span / wanted;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * decade >= raw) {
            return factor * decade;
        }
    }
    return 10 * decade;
}

Picture describe(const FileEvaluation& evaluation) {
    Picture picture;
    const float figure = evaluation.verdict.figure;
    picture.verdictLine = text(formatVerdictUtf8(evaluation.verdict));
    picture.failed = evaluation.verdict.failed;
    picture.fileName = evaluation.isStandardInput()
                           ? QStringLiteral("standard input")
                           : text(std::filesystem::path(evaluation.argument).filename().native());

    std::vector<double> terms;
    terms.reserve(evaluation.points.size());
    double finiteSum = 0;
    for (const FrequencyLevelPoint& point : evaluation.points) {
        terms.push_back(contributeToTestFigure(point, 0.0F).term);
        finiteSum += std::isfinite(terms.back()) ? terms.back() : 0;
    }
    const bool sharesOfFigure = std::isfinite(figure) && figure > 0;
    picture.weightName =
        sharesOfFigure ? QStringLiteral("share of F") : QStringLiteral("share of finite terms");

    auto drawable = [](FrequencyLevelPoint point) {
        return point.frequency > 0 && std::isfinite(point.frequency) && std::isfinite(point.level);
    };
    std::size_t drawn = 0;
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    double lowFrequency = kInfinity;
    double highFrequency = -kInfinity;
    double lowLevel = kInfinity;
    double highLevel = -kInfinity;
    for (const FrequencyLevelPoint point : evaluation.points) {
        if (drawable(point)) {
            ++drawn;
            const double x = std::log10(double{point.frequency});
            lowFrequency = std::min(lowFrequency, x);
            highFrequency = std::max(highFrequency, x);
            lowLevel = std::min(lowLevel, double{point.level});
            highLevel = std::max(highLevel, double{point.level});
        }
    }
    if (drawn == 0) {
        picture.frequencies = {std::log10(150e3), std::log10(30e6)};
        picture.levels = {0, 100};
    } else {
        picture.frequencies = paddedRange(lowFrequency, highFrequency, 0.5, 0.03);
        picture.levels = paddedRange(lowLevel, highLevel, 5, 0.08);
    }

    // Points a few pixels apart look like one: each small cell of the picture keeps only its
    // heaviest point, and each pixel column of the trace only its lowest and highest level. A list
    // of millions then draws as fast, and into as small a file, as one of thousands, and looks the
    // same.
    constexpr double kCell = 4;
    const QRectF area = plotArea();
    const auto cellColumns = static_cast<std::size_t>(area.width() / kCell) + 1;
    const auto cellRows = static_cast<std::size_t>(area.height() / kCell) + 1;
    constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);
    std::vector<std::size_t> cells(cellColumns * cellRows, kEmpty);
    struct TraceColumn {
        QPointF low;
        QPointF high;
        bool used = false;
    };
    std::vector<TraceColumn> traceColumns(static_cast<std::size_t>(area.width()) + 1);
    auto heavier = [](double a, double b) { return std::isnan(a) ? !std::isnan(b) : a > b; };

    for (std::size_t index = 0; index < evaluation.points.size(); ++index) {
        const FrequencyLevelPoint point = evaluation.points[index];
        if (!drawable(point)) {
            continue;
        }
        Mark mark;
        mark.value = QPointF(std::log10(double{point.frequency}), point.level);
        mark.index = index;
        if (!std::isfinite(terms[index])) {
            mark.weight = std::numeric_limits<double>::quiet_NaN();
            picture.anyNonFinite = true;
        } else if (sharesOfFigure) {
            mark.weight = *shareOfFigure(terms[index], figure);
        } else {
            mark.weight = finiteSum > 0 ? terms[index] / finiteSum : 0;
        }
        if (!std::isnan(mark.weight)) {
            picture.heaviestWeight = std::max(picture.heaviestWeight, mark.weight);
        }

        // Fractions of the plot area, 0 to 1 inclusive.
        const double across =
            (mark.value.x() - picture.frequencies.low) / picture.frequencies.span();
        const double up = (mark.value.y() - picture.levels.low) / picture.levels.span();
        const auto cellColumn = static_cast<std::size_t>(across * (cellColumns - 1));
        const auto cellRow = static_cast<std::size_t>(up * (cellRows - 1));
        std::size_t& cell = cells[cellRow * cellColumns + cellColumn];
        if (cell == kEmpty) {
            cell = picture.marks.size();
            picture.marks.push_back(mark);
        } else if (heavier(mark.weight, picture.marks[cell].weight)) {
            picture.marks[cell] = mark;
        }

        TraceColumn& column =
            traceColumns[static_cast<std::size_t>(across * (traceColumns.size() - 1))];
        if (!column.used || mark.value.y() < column.low.y()) {
            column.low = mark.value;
        }
        if (!column.used || mark.value.y() > column.high.y()) {
            column.high = mark.value;
        }
        column.used = true;
    }
    for (const TraceColumn& column : traceColumns) {
        if (column.used) {
            picture.trace.push_back(column.high);
            if (column.low != column.high) {
                picture.trace.push_back(column.low);
            }
        }
    }
    std::stable_sort(picture.marks.begin(), picture.marks.end(),
                     [&](const Mark& a, const Mark& b) { return heavier(b.weight, a.weight); });

    const std::size_t count = evaluation.points.size();
    QString summary = QString::number(count) + (count == 1 ? " point" : " points");
    if (drawn > 0) {
        const QString low = frequencyText(std::pow(10.0, lowFrequency));
        const QString high = frequencyText(std::pow(10.0, highFrequency));
        summary += low == high ? " at " + low : " from " + low + " to " + high;
    }
    if (drawn < count) {
        summary += QStringLiteral("; %1 not drawn (frequency not above 0, or a value not finite)")
                       .arg(count - drawn);
    }
    picture.summary = summary;

    if (evaluation.stop.end == ReadingEnd::MalformedItem) {
        picture.readingNote =
            text("Reading stopped at line " + std::to_string(evaluation.stop.line) + " ('" +
                 escapedBytes(evaluation.stop.excerpt, false) +
                 "'): that item and everything after it were not evaluated.");
    } else if (count == 0) {
        picture.readingNote = QStringLiteral("The file holds no points.");
    }
    return picture;
}

QColor weightColour(double fraction) {
    // Pale blue for points that barely count, through orange, to dark red for the heaviest.
    struct Stop {
        double at;
        QColor colour;
    };
    static const Stop kStops[] = {{0.0, QColor(0xa6, 0xce, 0xe3)},
                                  {0.35, QColor(0xff, 0xd5, 0x4f)},
                                  {0.7, QColor(0xf5, 0x7c, 0x00)},
                                  {1.0, QColor(0xa5, 0x0f, 0x15)}};
    const double t = std::clamp(fraction, 0.0, 1.0);
    std::size_t segment = 0;
    while (segment + 2 < std::size(kStops) && t > kStops[segment + 1].at) {
        ++segment;
    }
    const Stop& from = kStops[segment];
    const Stop& to = kStops[segment + 1];
    const double u = (t - from.at) / (to.at - from.at);
    auto mix = [u](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * u)); };
    return QColor(mix(from.colour.red(), to.colour.red()),
                  mix(from.colour.green(), to.colour.green()),
                  mix(from.colour.blue(), to.colour.blue()));
}

class Canvas {
  public:
    Canvas(QPainter& painter, const Picture& picture)
        : m_painter(painter), m_picture(picture), m_area(plotArea()) {}

    void paint() {
        m_painter.setRenderHint(QPainter::Antialiasing);
        m_painter.setRenderHint(QPainter::TextAntialiasing);
        m_painter.fillRect(QRectF(0, 0, kWidth, kHeight), Qt::white);
        paintHeading();
        paintGrid();
        paintMarks();
        paintLegend();
    }

  private:
    QPointF place(QPointF value) const {
        const double x = (value.x() - m_picture.frequencies.low) / m_picture.frequencies.span();
        const double y = (value.y() - m_picture.levels.low) / m_picture.levels.span();
        return {m_area.left() + x * m_area.width(), m_area.bottom() - y * m_area.height()};
    }

    void paintHeading() {
        const double left = m_area.left();
        m_painter.setFont(font(24, true));
        m_painter.setPen(m_picture.failed ? kFailColour : kPassColour);
        m_painter.drawText(QPointF(left, 42), m_picture.verdictLine);
        const double verdictWidth =
            QFontMetricsF(font(24, true)).horizontalAdvance(m_picture.verdictLine);
        m_painter.setFont(font(18));
        m_painter.setPen(kInk);
        m_painter.drawText(QPointF(left + verdictWidth + 18, 42), m_picture.fileName);
        m_painter.setFont(font(14));
        m_painter.setPen(kMutedInk);
        m_painter.drawText(QPointF(left, 70), m_picture.summary);
        if (!m_picture.readingNote.isEmpty()) {
            m_painter.setPen(kWarningColour);
            m_painter.setFont(font(14, true));
            m_painter.drawText(QPointF(left, 94), m_picture.readingNote);
        }
    }

    void paintGrid() {
        const Range& f = m_picture.frequencies;
        const Range& l = m_picture.levels;
        m_painter.setFont(font(13));
        const QFontMetricsF metrics(m_painter.font());

        // Decades get a line and a label; within a few decades 2 and 5 times a decade are labelled
        // too. A span of less than a decade is labelled at round steps instead, so that the axis
        // always shows a handful of values.
        auto frequencyLine = [&](double at, bool major, bool labelled) {
            const double x = place(QPointF(at, l.low)).x();
            m_painter.setPen(QPen(major ? QColor(0xbd, 0xbd, 0xbd) : QColor(0xe6, 0xe6, 0xe6), 1));
            m_painter.drawLine(QPointF(x, m_area.top()), QPointF(x, m_area.bottom()));
            if (labelled) {
                const QString label = frequencyText(std::pow(10.0, at));
                m_painter.setPen(major ? kInk : kMutedInk);
                m_painter.drawText(
                    QPointF(x - metrics.horizontalAdvance(label) / 2, m_area.bottom() + 22), label);
            }
        };
        if (f.span() < 1) {
            const double low = std::pow(10.0, f.low);
            const double high = std::pow(10.0, f.high);
            const double step = niceStep(high - low, 6);
            for (const double hertz : multiplesWithin(low, high, step)) {
                frequencyLine(std::log10(hertz), true, true);
            }
        } else {
            const bool labelSubdivisions = f.span() <= 3.2;
            const auto lowest = static_cast<int>(std::floor(f.low));
            const auto highest = static_cast<int>(std::ceil(f.high));
            for (int decade = lowest; decade <= highest; ++decade) {
                for (int factor = 1; factor <= 9; ++factor) {
                    const double at = decade + std::log10(double(factor));
                    if (at >= f.low && at <= f.high) {
                        frequencyLine(
                            at, factor == 1,
                            factor == 1 || (labelSubdivisions && (factor == 2 || factor == 5)));
                    }
                }
            }
        }

        const double step = niceStep(l.span(), 8);
        for (const double level : multiplesWithin(l.low, l.high, step)) {
            const double y = place(QPointF(f.low, level)).y();
            m_painter.setPen(QPen(QColor(0xe0, 0xe0, 0xe0), 1));
            m_painter.drawLine(QPointF(m_area.left(), y), QPointF(m_area.right(), y));
            const QString label = text(roundedText(std::abs(level) < step / 1e6 ? 0.0 : level, 6));
            m_painter.setPen(kInk);
            m_painter.drawText(
                QPointF(m_area.left() - 10 - metrics.horizontalAdvance(label), y + 5), label);
        }

        m_painter.setPen(QPen(QColor(0x75, 0x75, 0x75), 1.2));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(m_area);

        m_painter.setFont(font(15));
        m_painter.setPen(kInk);
        const QString xTitle = QStringLiteral("Frequency");
        m_painter.drawText(
            QPointF(
                m_area.center().x() - QFontMetricsF(m_painter.font()).horizontalAdvance(xTitle) / 2,
                m_area.bottom() + 54),
            xTitle);
        const QString yTitle = QStringLiteral("Level (dBµV)");
        m_painter.save();
        m_painter.translate(m_area.left() - 62, m_area.center().y());
        m_painter.rotate(-90);
        m_painter.drawText(
            QPointF(-QFontMetricsF(m_painter.font()).horizontalAdvance(yTitle) / 2, 0), yTitle);
        m_painter.restore();
    }

    double radius(double weight) const {
        const double relative =
            m_picture.heaviestWeight > 0 ? std::max(weight, 0.0) / m_picture.heaviestWeight : 0;
        return 2.5 + 5.5 * std::sqrt(relative);
    }

    void paintMarks() {
        m_painter.save();
        m_painter.setClipRect(m_area.adjusted(1, 1, -1, -1));
        if (m_picture.marks.empty()) {
            m_painter.setFont(font(18));
            m_painter.setPen(kMutedInk);
            m_painter.drawText(m_area, Qt::AlignCenter, QStringLiteral("No points to draw"));
            m_painter.restore();
            return;
        }

        QPolygonF line;
        for (const QPointF& value : m_picture.trace) {
            line << place(value);
        }
        m_painter.setPen(QPen(QColor(0x9e, 0x9e, 0x9e), 1));
        m_painter.drawPolyline(line);

        for (const Mark& mark : m_picture.marks) {
            const QPointF at = place(mark.value);
            if (std::isnan(mark.weight)) {
                m_painter.setPen(QPen(kNonFiniteColour, 2.2));
                m_painter.drawLine(at + QPointF(-6, -6), at + QPointF(6, 6));
                m_painter.drawLine(at + QPointF(-6, 6), at + QPointF(6, -6));
                continue;
            }
            const double relative = m_picture.heaviestWeight > 0
                                        ? std::max(mark.weight, 0.0) / m_picture.heaviestWeight
                                        : 0;
            const QColor colour = weightColour(relative);
            m_painter.setPen(QPen(colour.darker(135), 0.8));
            m_painter.setBrush(colour);
            const double r = radius(mark.weight);
            m_painter.drawEllipse(at, r, r);
        }
        labelHeaviest();
        m_painter.restore();
    }

    // Labels the heaviest points with their rank and share, each label placed where it covers
    // neither an earlier label nor the frame, and tied to its point by a short line.
    void labelHeaviest() {
        m_painter.setFont(font(13, true));
        const QFontMetricsF metrics(m_painter.font());
        std::vector<const Mark*> labelled;
        for (auto mark = m_picture.marks.rbegin();
             mark != m_picture.marks.rend() && labelled.size() < kLabelledPoints; ++mark) {
            if (!std::isnan(mark->weight)) {
                labelled.push_back(&*mark);
            }
        }
        // No label may hide a labelled point.
        std::vector<QRectF> placed;
        for (const Mark* mark : labelled) {
            const double r = radius(mark->weight);
            placed.emplace_back(place(mark->value) - QPointF(r, r), QSizeF(2 * r, 2 * r));
        }
        int rank = 0;
        for (const Mark* mark : labelled) {
            ++rank;
            const QPointF at = place(mark->value);
            const QString label = QStringLiteral("#%1  %2").arg(rank).arg(percent(mark->weight));
            const QSizeF size(metrics.horizontalAdvance(label) + 12, metrics.height() + 6);
            const QRectF box = freePlace(at, size, placed);
            placed.push_back(box);
            const QPointF anchor(std::clamp(at.x(), box.left(), box.right()),
                                 std::clamp(at.y(), box.top(), box.bottom()));
            m_painter.setPen(QPen(QColor(0x61, 0x61, 0x61), 1));
            m_painter.drawLine(at, anchor);
            m_painter.setPen(QPen(QColor(0xa5, 0x0f, 0x15), 1));
            m_painter.setBrush(QColor(255, 255, 255, 235));
            m_painter.drawRoundedRect(box, 3, 3);
            m_painter.setPen(kInk);
            m_painter.drawText(box, Qt::AlignCenter, label);
        }
    }

    QRectF freePlace(QPointF at, QSizeF size, const std::vector<QRectF>& taken) const {
        const QRectF inside = m_area.adjusted(4, 4, -4, -4);
        QRectF first;
        for (const double distance : {14.0, 34.0, 58.0, 90.0, 130.0, 180.0}) {
            for (const QPointF direction : {QPointF(1, -1), QPointF(-1, -1), QPointF(1, 1),
                                            QPointF(-1, 1), QPointF(0, -1), QPointF(0, 1)}) {
                QRectF box(QPointF(0, 0), size);
                box.moveCenter(at + QPointF(direction.x() * (distance + size.width() / 2),
                                            direction.y() * (distance + size.height() / 2)));
                if (!inside.contains(box)) {
                    continue;
                }
                if (first.isNull()) {
                    first = box;
                }
                const bool free =
                    std::none_of(taken.begin(), taken.end(), [&](const QRectF& other) {
                        return other.adjusted(-3, -3, 3, 3).intersects(box);
                    });
                if (free) {
                    return box;
                }
            }
        }
        if (first.isNull()) {
            first = QRectF(at, size);
        }
        return first;
    }

    void paintLegend() {
        if (m_picture.marks.empty()) {
            return;
        }
        const double left = m_area.right() + 30;
        double top = m_area.top();
        m_painter.setFont(font(14, true));
        m_painter.setPen(kInk);
        m_painter.drawText(QPointF(left, top + 4), QStringLiteral("Point colour"));
        m_painter.setFont(font(13));
        m_painter.setPen(kMutedInk);
        m_painter.drawText(QPointF(left, top + 22), m_picture.weightName);

        const QRectF bar(left, top + 36, 18, 200);
        QLinearGradient gradient(bar.bottomLeft(), bar.topLeft());
        for (const double at : {0.0, 0.25, 0.5, 0.75, 1.0}) {
            gradient.setColorAt(at, weightColour(at));
        }
        m_painter.setPen(QPen(QColor(0x75, 0x75, 0x75), 0.8));
        m_painter.setBrush(gradient);
        m_painter.drawRect(bar);
        m_painter.setPen(kInk);
        for (const double at : {0.0, 0.5, 1.0}) {
            const double y = bar.bottom() - at * bar.height();
            m_painter.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 5, y));
            m_painter.drawText(QPointF(bar.right() + 9, y + 5),
                               percent(at * m_picture.heaviestWeight));
        }
        top = bar.bottom() + 30;
        m_painter.setPen(kMutedInk);
        m_painter.drawText(QPointF(left, top), QStringLiteral("size grows with it"));
        top += 28;
        m_painter.setPen(QPen(QColor(0x9e, 0x9e, 0x9e), 1));
        m_painter.drawLine(QPointF(left, top - 5), QPointF(left + 22, top - 5));
        m_painter.setPen(kMutedInk);
        m_painter.drawText(QPointF(left + 30, top), QStringLiteral("trace"));
        if (m_picture.anyNonFinite) {
            top += 28;
            m_painter.setPen(QPen(kNonFiniteColour, 2.2));
            m_painter.drawLine(QPointF(left + 5, top - 11), QPointF(left + 17, top + 1));
            m_painter.drawLine(QPointF(left + 5, top + 1), QPointF(left + 17, top - 11));
            m_painter.setPen(kMutedInk);
            m_painter.drawText(QPointF(left + 30, top), QStringLiteral("term not finite"));
        }
    }

    QPainter& m_painter;
    const Picture& m_picture;
    QRectF m_area;
};

QByteArray renderSvg(const Picture& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(kWidth, kHeight));
    generator.setViewBox(QRectF(0, 0, kWidth, kHeight));
    // One picture unit is one CSS pixel, so the picture has the same size wherever it is pasted.
    generator.setResolution(96);
    generator.setTitle(picture.verdictLine + QStringLiteral(" — ") + picture.fileName);
    generator.setDescription(picture.summary);
    QPainter painter(&generator);
    Canvas(painter, picture).paint();
    painter.end();
    return bytes;
}

QByteArray renderPng(const Picture& picture) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    Canvas(painter, picture).paint();
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::string systemMessage(int error) {
    return std::generic_category().message(error);
}

// Writes beside the target first and then renames, so that a reader never finds half a picture.
std::optional<std::string> replaceFile(const std::filesystem::path& target,
                                       const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return "the picture could not be rendered";
    }
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    errno = 0;
    FileHandle file(std::fopen(temporary.c_str(), "wb"));
    if (!file) {
        return systemMessage(errno);
    }
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()),
                                     file.get()) == static_cast<std::size_t>(bytes.size());
    const int writeError = errno;
    const bool closed = std::fclose(file.release()) == 0;
    const int closeError = errno;
    std::error_code ignored;
    if (!written || !closed) {
        std::filesystem::remove(temporary, ignored);
        return systemMessage(written ? closeError : writeError);
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, ignored);
        return renameError.message();
    }
    return std::nullopt;
}

// Qt's messages go to standard error with the program's name, except its notes about the runtime
// folder it makes for itself when the environment names none (as under CI or a service account):
// they say nothing about the picture and would read like a problem with the list.
void forwardQtMessage(QtMsgType type, const QMessageLogContext& /*context*/,
                      const QString& message) {
    if (type != QtCriticalMsg && type != QtFatalMsg &&
        message.startsWith(QStringLiteral("QStandardPaths: "))) {
        return;
    }
    std::fprintf(stderr, "ambersel-eval: %s\n", message.toLocal8Bit().constData());
}

class MessageRoute {
  public:
    MessageRoute() : m_previous(qInstallMessageHandler(forwardQtMessage)) {}
    MessageRoute(const MessageRoute&) = delete;
    MessageRoute& operator=(const MessageRoute&) = delete;
    ~MessageRoute() { qInstallMessageHandler(m_previous); }

  private:
    QtMessageHandler m_previous;
};

}  // namespace

struct SpectrumPlotter::Graphics {
    MessageRoute route;
    // The application object keeps references to these for its whole life.
    int argc = 1;
    char name[14] = "ambersel-eval";
    char* argv[2] = {name, nullptr};
    QGuiApplication application{argc, argv};
};

SpectrumPlotter::SpectrumPlotter() {
    // Pictures are drawn offscreen: no display is needed or used, whatever the environment says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application object sets the C locale from the environment; put it back, so that a comma
    // locale never reaches the reading of the files that follow.
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    m_graphics = std::make_unique<Graphics>();
    std::setlocale(LC_ALL, locale.c_str());
}

SpectrumPlotter::~SpectrumPlotter() = default;

std::unique_ptr<PlotDrawing> startPlotDrawing() {
    return std::make_unique<SpectrumPlotter>();
}

std::optional<std::string> SpectrumPlotter::draw(const FileEvaluation& evaluation,
                                                 const std::filesystem::path& target,
                                                 PlotFormat format) const {
    const Picture picture = describe(evaluation);
    return replaceFile(target, format == PlotFormat::Svg ? renderSvg(picture) : renderPng(picture));
}

}  // namespace ambersel::cli
