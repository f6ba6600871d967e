#include "plot/painting/chart_painter.h"

#include <QFontMetricsF>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <iterator>
#include <string>

#include "plot/painting/painting_support.h"
#include "plot/painting/series_style.h"

namespace ambersel::plot {
namespace {

const QColor kWarningColour(0xb3, 0x59, 0x00);
const QColor kLabelFrameColour(0xa5, 0x0f, 0x15);

}  // namespace

QFont chartFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont fontFor(TextRole role) {
    switch (role) {
        case TextRole::PointLabel:
        case TextRole::LegendHeading:
            return chartFont(13, true);
        case TextRole::BandLabel:
            return chartFont(12);
        case TextRole::AxisLabel:
        case TextRole::LegendText:
            break;
    }
    return chartFont(13);
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
    m_painter.setClipRect(qtRect(m_layout.plotArea).adjusted(1, 1, -1, -1));
    if (!m_layout.hasMarks()) {
        m_painter.setFont(chartFont(18));
        m_painter.setPen(kMutedInk);
        m_painter.drawText(qtRect(m_layout.plotArea), Qt::AlignCenter,
                           QStringLiteral("No points to draw"));
    }
    for (const SeriesLayout& series : m_layout.series) {
        paintSeries(series);
    }
    // Over every series' marks, so that no series hides the labels of another.
    for (const SeriesLayout& series : m_layout.series) {
        paintLabels(series);
    }
    m_painter.restore();
    paintBandStrip();
    if (m_layout.bySeries) {
        paintSeriesLegend();
    } else if (m_layout.hasMarks()) {
        paintColourScale();
    }
}

void ChartPainter::paintHeading() {
    double left = m_layout.plotArea.left;
    const QColor verdictColour = m_chart.failed ? kFailColour : kPassColour;
    auto write = [&](const std::string& text, const QFont& font, const QColor& colour) {
        if (text.empty()) {
            return;
        }
        m_painter.setFont(font);
        m_painter.setPen(colour);
        m_painter.drawText(QPointF(left, 42), qtText(text));
        left += QFontMetricsF(font).horizontalAdvance(qtText(text)) + 18;
    };
    write(m_chart.title, chartFont(24, true), verdictColour);
    write(m_chart.titleNote, chartFont(20), verdictColour);
    write(m_chart.subject, chartFont(18), kInk);
    left = m_layout.plotArea.left;
    m_painter.setFont(chartFont(14));
    m_painter.setPen(kMutedInk);
    m_painter.drawText(QPointF(left, 70), qtText(m_chart.summary));
    if (!m_chart.warning.empty()) {
        m_painter.setPen(kWarningColour);
        m_painter.setFont(chartFont(14, true));
        m_painter.drawText(QPointF(left, 94), qtText(m_chart.warning));
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
            m_painter.drawText(qtPoint(line.labelAt), qtText(line.label));
        }
    }
    for (const AxisLine& line : m_layout.levelLines) {
        m_painter.setPen(QPen(QColor(0xe0, 0xe0, 0xe0), 1));
        m_painter.drawLine(QPointF(area.left, line.at), QPointF(area.right(), line.at));
        m_painter.setPen(kInk);
        m_painter.drawText(qtPoint(line.labelAt), qtText(line.label));
    }
    m_painter.setPen(QPen(kFrameColour, 1.2));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(qtRect(area));
}

void ChartPainter::paintAxisTitles() {
    const QRectF area = qtRect(m_layout.plotArea);
    m_painter.setFont(chartFont(15));
    m_painter.setPen(kInk);
    const QFontMetricsF metrics(m_painter.font());
    const QString xTitle = QStringLiteral("Frequency");
    m_painter.drawText(QPointF(area.center().x() - metrics.horizontalAdvance(xTitle) / 2,
                               m_layout.frequencyTitleBaseline),
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
        outline << qtPoint(point);
    }
    const QColor outlineColour =
        m_layout.bySeries ? towardsWhite(seriesColour(series.style), 0.6) : kOutlineColour;
    m_painter.setPen(QPen(outlineColour, 1));
    m_painter.drawPolyline(outline);
    paintMarks(series);
}

void ChartPainter::paintMarks(const SeriesLayout& series) {
    for (const Mark& mark : series.marks) {
        const QPointF at = qtPoint(mark.at);
        if (mark.undefined) {
            m_painter.setPen(QPen(kUndefinedColour, 2.2));
            m_painter.drawLine(at + QPointF(-6, -6), at + QPointF(6, 6));
            m_painter.drawLine(at + QPointF(-6, 6), at + QPointF(6, -6));
            continue;
        }
        QColor colour = m_layout.bySeries ? seriesColour(series.style) : shadeColour(mark.shade);
        m_painter.setPen(QPen(colour.darker(135), 0.8));
        if (m_layout.bySeries) {
            // Marks of one series let those of another show through.
            colour.setAlpha(190);
        }
        m_painter.setBrush(colour);
        drawMark(m_painter, series.style.shape, at, mark.radius);
    }
}

void ChartPainter::paintLabels(const SeriesLayout& series) {
    m_painter.setFont(fontFor(TextRole::PointLabel));
    const QColor frame = m_layout.bySeries ? seriesColour(series.style) : kLabelFrameColour;
    for (const PointLabel& label : series.labels) {
        const QRectF box = qtRect(label.box);
        m_painter.setPen(QPen(kMutedInk, 1));
        m_painter.drawLine(qtPoint(label.point), qtPoint(label.anchor));
        m_painter.setPen(QPen(frame, m_layout.bySeries ? 1.6 : 1));
        m_painter.setBrush(QColor(255, 255, 255, 235));
        m_painter.drawRoundedRect(box, 3, 3);
        m_painter.setPen(kInk);
        m_painter.drawText(box, Qt::AlignCenter, qtText(label.text));
    }
}

}  // namespace ambersel::plot
