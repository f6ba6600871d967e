#pragma once

// Paints a laid-out spectrum chart with Qt: the fixed parts (headings, frame, axis titles,
// captions), the colours, and what the layout placed.

#include <QColor>
#include <QFont>
#include <QPainter>

#include "plot/layout/chart.h"
#include "plot/layout/chart_layout.h"

namespace ambersel::plot {

// The font of each kind of text, by its pixel size.
QFont chartFont(int pixelSize, bool bold = false);
QFont fontFor(TextRole role);

// The colour of a point at `shade` on the colour scale (0 to 1): pale blue for points that barely
// count, through yellow and orange, to dark red for the heaviest.
QColor shadeColour(double shade);

class ChartPainter {
  public:
    ChartPainter(QPainter& painter, const Chart& chart, const ChartLayout& layout)
        : m_painter(painter), m_chart(chart), m_layout(layout) {}

    void paint();

  private:
    void paintHeading();
    void paintGrid();
    void paintAxisTitles();
    // The outline and the marks of a series.
    void paintSeries(const SeriesLayout& series);
    void paintMarks(const SeriesLayout& series);
    void paintLabels(const SeriesLayout& series);
    // The band strip, the colour scale of one series and the legend of several.
    void paintBandStrip();
    void paintColourScale();
    void paintColourScaleSamples(double left, double top);
    void paintSeriesLegend();

    QPainter& m_painter;
    const Chart& m_chart;
    const ChartLayout& m_layout;
};

}  // namespace ambersel::plot
