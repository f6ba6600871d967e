#include "plot/painting/chart_painter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <iterator>
#include <string>

namespace ambersel::plot {
namespace {

const QColor kInk(0x21, 0x21, 0x21);
const QColor kMutedInk(0x61, 0x61, 0x61);
const QColor kPassColour(0x2e, 0x7d, 0x32);
const QColor kFailColour(0xc6, 0x28, 0x28);
const QColor kWarningColour(0xb3, 0x59, 0x00);
const QColor kUndefinedColour(0x6a, 0x1b, 0x9a);
const QColor kOutlineColour(0x9e, 0x9e, 0x9e);
const QColor kFrameColour(0x75, 0x75, 0x75);

QString text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QPointF qt(Point point) {
    return {point.x, point.y};
}

QRectF qt(const Rect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

}  // namespace

QFont chartFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont fontFor(TextRole role) {
    return chartFont(13, role == TextRole::PointLabel);
}

QColor shadeColour(double shade) {
    struct Stop {
        double at;
        QColor colour;
    };
    static const Stop kStops[] = {{0.0, QColor(0xa6, 0xce, 0xe3)},
                                  {0.35, QColor(0xff, 0xd5, 0x4f)},
                                  {0.7, QColor(0xf5, 0x7c, 0x00)},
                                  {1.0, QColor(0xa5, 0x0f, 0x15)}};
    const double t = std::clamp(shade, 0.0, 1.0);
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

void ChartPainter::paint() {
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    m_painter.fillRect(QRectF(0, 0, m_layout.canvas.width, m_layout.canvas.height), Qt::white);
    paintHeading();
    paintGrid();
    paintAxisTitles();
    m_painter.save();
    m_painter.setClipRect(qt(m_layout.plotArea).adjusted(1, 1, -1, -1));
    if (!m_layout.hasMarks()) {
        m_painter.setFont(chartFont(18));
        m_painter.setPen(kMutedInk);
        m_painter.drawText(qt(m_layout.plotArea), Qt::AlignCenter,
                           QStringLiteral("No points to draw"));
    }
    for (const SeriesLayout& series : m_layout.series) {
        paintSeries(series);
    }
    m_painter.restore();
    if (m_layout.hasMarks()) {
        paintLegend();
    }
}

void ChartPainter::paintHeading() {
    const double left = m_layout.plotArea.left;
    const QString title = text(m_chart.title);
    m_painter.setFont(chartFont(24, true));
    m_painter.setPen(m_chart.failed ? kFailColour : kPassColour);
    m_painter.drawText(QPointF(left, 42), title);
    const double titleWidth = QFontMetricsF(chartFont(24, true)).horizontalAdvance(title);
    m_painter.setFont(chartFont(18));
    m_painter.setPen(kInk);
    m_painter.drawText(QPointF(left + titleWidth + 18, 42), text(m_chart.subject));
    m_painter.setFont(chartFont(14));
    m_painter.setPen(kMutedInk);
    m_painter.drawText(QPointF(left, 70), text(m_chart.summary));
    if (!m_chart.warning.empty()) {
        m_painter.setPen(kWarningColour);
        m_painter.setFont(chartFont(14, true));
        m_painter.drawText(QPointF(left, 94), text(m_chart.warning));
    }
}

void ChartPainter::paintGrid() {
    const Rect& area = m_layout.plotArea;
    m_painter.setFont(fontFor(TextRole::AxisLabel));
    for (const AxisLine& line : m_layout.frequencyLines) {
        m_painter.setPen(QPen(line.major ? QColor(0xbd, 0xbd, 0xbd) : QColor(0xe6, 0xe6, 0xe6), 1));
        m_painter.drawLine(QPointF(line.at, area.top), QPointF(line.at, area.bottom()));
        if (!line.label.empty()) {
            m_painter.setPen(line.major ? kInk : kMutedInk);
            m_painter.drawText(qt(line.labelAt), text(line.label));
        }
    }
    for (const AxisLine& line : m_layout.levelLines) {
        m_painter.setPen(QPen(QColor(0xe0, 0xe0, 0xe0), 1));
        m_painter.drawLine(QPointF(area.left, line.at), QPointF(area.right(), line.at));
        m_painter.setPen(kInk);
        m_painter.drawText(qt(line.labelAt), text(line.label));
    }
    m_painter.setPen(QPen(kFrameColour, 1.2));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(qt(area));
}

void ChartPainter::paintAxisTitles() {
    const QRectF area = qt(m_layout.plotArea);
    m_painter.setFont(chartFont(15));
    m_painter.setPen(kInk);
    const QFontMetricsF metrics(m_painter.font());
    const QString xTitle = QStringLiteral("Frequency");
    m_painter.drawText(
        QPointF(area.center().x() - metrics.horizontalAdvance(xTitle) / 2, area.bottom() + 54),
        xTitle);
    const QString yTitle = QStringLiteral("Level (dBµV)");
    m_painter.save();
    m_painter.translate(area.left() - 62, area.center().y());
    m_painter.rotate(-90);
    m_painter.drawText(QPointF(-metrics.horizontalAdvance(yTitle) / 2, 0), yTitle);
    m_painter.restore();
}

void ChartPainter::paintSeries(const SeriesLayout& series) {
    if (series.marks.empty()) {
        return;
    }
    QPolygonF outline;
    for (const Point& point : series.outline) {
        outline << qt(point);
    }
    m_painter.setPen(QPen(kOutlineColour, 1));
    m_painter.drawPolyline(outline);

    for (const Mark& mark : series.marks) {
        const QPointF at = qt(mark.at);
        if (mark.undefined) {
            m_painter.setPen(QPen(kUndefinedColour, 2.2));
            m_painter.drawLine(at + QPointF(-6, -6), at + QPointF(6, 6));
            m_painter.drawLine(at + QPointF(-6, 6), at + QPointF(6, -6));
            continue;
        }
        const QColor colour = shadeColour(mark.shade);
        m_painter.setPen(QPen(colour.darker(135), 0.8));
        m_painter.setBrush(colour);
        m_painter.drawEllipse(at, mark.radius, mark.radius);
    }
    paintLabels(series);
}

void ChartPainter::paintLabels(const SeriesLayout& series) {
    m_painter.setFont(fontFor(TextRole::PointLabel));
    for (const PointLabel& label : series.labels) {
        const QRectF box = qt(label.box);
        m_painter.setPen(QPen(kMutedInk, 1));
        m_painter.drawLine(qt(label.point), qt(label.anchor));
        m_painter.setPen(QPen(QColor(0xa5, 0x0f, 0x15), 1));
        m_painter.setBrush(QColor(255, 255, 255, 235));
        m_painter.drawRoundedRect(box, 3, 3);
        m_painter.setPen(kInk);
        m_painter.drawText(box, Qt::AlignCenter, text(label.text));
    }
}

void ChartPainter::paintLegend() {
    const double left = m_layout.plotArea.right() + 30;
    const double top = m_layout.plotArea.top;
    m_painter.setFont(chartFont(14, true));
    m_painter.setPen(kInk);
    m_painter.drawText(QPointF(left, top + 4), QStringLiteral("Point colour"));
    m_painter.setFont(chartFont(13));
    m_painter.setPen(kMutedInk);
    m_painter.drawText(QPointF(left, top + 22), text(m_chart.weightName));

    const QRectF bar(left, top + 36, 18, 200);
    QLinearGradient gradient(bar.bottomLeft(), bar.topLeft());
    for (const double at : {0.0, 0.25, 0.5, 0.75, 1.0}) {
        gradient.setColorAt(at, shadeColour(at));
    }
    m_painter.setPen(QPen(kFrameColour, 0.8));
    m_painter.setBrush(gradient);
    m_painter.drawRect(bar);
    m_painter.setPen(kInk);
    for (const ScaleTick& tick : m_layout.colourScale) {
        const double y = bar.bottom() - tick.fraction * bar.height();
        m_painter.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 5, y));
        m_painter.drawText(QPointF(bar.right() + 9, y + 5), text(tick.label));
    }
    paintLegendSamples(left, bar.bottom() + 30);
}

void ChartPainter::paintLegendSamples(double left, double top) {
    m_painter.setPen(kMutedInk);
    m_painter.drawText(QPointF(left, top), QStringLiteral("size grows with it"));
    top += 28;
    m_painter.setPen(QPen(kOutlineColour, 1));
    m_painter.drawLine(QPointF(left, top - 5), QPointF(left + 22, top - 5));
    m_painter.setPen(kMutedInk);
    m_painter.drawText(QPointF(left + 30, top), QStringLiteral("trace"));
    if (m_layout.anyUndefined) {
        top += 28;
        m_painter.setPen(QPen(kUndefinedColour, 2.2));
        m_painter.drawLine(QPointF(left + 5, top - 11), QPointF(left + 17, top + 1));
        m_painter.drawLine(QPointF(left + 5, top + 1), QPointF(left + 17, top - 11));
        m_painter.setPen(kMutedInk);
        m_painter.drawText(QPointF(left + 30, top), QStringLiteral("term not finite"));
    }
}

}  // namespace ambersel::plot
