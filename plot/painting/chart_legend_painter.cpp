// The parts of a chart's painting beside and under the plot area: the band strip, the colour
// scale of one series and the legend of several.

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cmath>

#include "plot/painting/chart_painter.h"
#include "plot/painting/painting_support.h"
#include "plot/painting/series_style.h"

namespace ambersel::plot {

void ChartPainter::paintBandStrip() {
    if (m_layout.bandStrip.empty()) {
        return;
    }
    m_painter.setFont(fontFor(TextRole::AxisLabel));
    m_painter.setPen(kInk);
    m_painter.drawText(qtPoint(m_layout.bandsCaption.at), qtText(m_layout.bandsCaption.text));
    m_painter.setFont(fontFor(TextRole::BandLabel));
    for (const SeriesLayout& series : m_layout.series) {
        const QColor colour = seriesColour(series.style);
        if (m_layout.bySeries && !series.bandRow.empty()) {
            m_painter.setPen(QPen(colour.darker(135), 0.8));
            m_painter.setBrush(colour);
            drawMark(m_painter, series.style.shape,
                     QPointF(series.bandRow.left - 9, series.bandRow.centre().y), 4.5);
        }
        for (const BandBox& band : series.bands) {
            const bool shaded = !std::isnan(band.share);
            const QColor fill = shaded ? towardsWhite(colour, band.share) : QColor(Qt::white);
            m_painter.setPen(QPen(QColor(0xbd, 0xbd, 0xbd), 1));
            m_painter.setBrush(fill);
            m_painter.drawRect(qtRect(band.box));
            // Dark text on a light box, light text on a dark one.
            m_painter.setPen(fill.lightnessF() > 0.6 ? kInk : QColor(Qt::white));
            m_painter.drawText(qtRect(band.box), Qt::AlignCenter, qtText(band.label));
        }
    }
}

void ChartPainter::paintColourScale() {
    const double left = m_layout.legendLeft;
    const double top = m_layout.plotArea.top;
    m_painter.setFont(chartFont(14, true));
    m_painter.setPen(kInk);
    m_painter.drawText(QPointF(left, top + 4), QStringLiteral("Point colour"));
    m_painter.setFont(chartFont(13));
    m_painter.setPen(kMutedInk);
    m_painter.drawText(QPointF(left, top + 22), qtText(m_chart.weightName));

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
        m_painter.drawText(QPointF(bar.right() + 9, y + 5), qtText(tick.label));
    }
    paintColourScaleSamples(left, bar.bottom() + 30);
}

void ChartPainter::paintColourScaleSamples(double left, double top) {
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

void ChartPainter::paintSeriesLegend() {
    const Legend& legend = m_layout.legend;
    m_painter.setFont(chartFont(14, true));
    m_painter.setPen(kInk);
    m_painter.drawText(qtPoint(legend.heading.at), qtText(legend.heading.text));
    for (const LegendEntry& entry : legend.entries) {
        const Series& series = m_chart.series[entry.series];
        const SeriesStyle& style = m_layout.series[entry.series].style;
        const QColor colour = seriesColour(style);
        const QPointF sample = qtPoint(entry.sample);
        m_painter.setPen(QPen(towardsWhite(colour, 0.6), 1));
        m_painter.drawLine(sample - QPointF(10, 0), sample + QPointF(10, 0));
        m_painter.setPen(QPen(colour.darker(135), 0.8));
        m_painter.setBrush(colour);
        drawMark(m_painter, style.shape, sample, 5);
        m_painter.setFont(fontFor(TextRole::LegendHeading));
        m_painter.setPen(kInk);
        m_painter.drawText(qtPoint(entry.name.at), qtText(entry.name.text));
        m_painter.setFont(fontFor(TextRole::LegendText));
        m_painter.setPen(series.failed ? kFailColour : kPassColour);
        m_painter.drawText(qtPoint(entry.verdict.at), qtText(entry.verdict.text));
        m_painter.setPen(kMutedInk);
        m_painter.drawText(qtPoint(entry.margin.at), qtText(entry.margin.text));
    }
    m_painter.setPen(kMutedInk);
    for (const PlacedText& note : legend.notes) {
        m_painter.drawText(qtPoint(note.at), qtText(note.text));
    }
}

}  // namespace ambersel::plot
