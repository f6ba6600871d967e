#include "plot/drawing/svg_picture.h"

#include "plot/canvas/svg_canvas.h"
#include "plot/drawing/chart_drawing.h"

namespace ambersel::plot {

namespace {

std::string drawn(const Chart& chart, std::string_view idPrefix, bool wholeDocument) {
    const ChartLayout layout = layOutChart(chart);
    SvgCanvas canvas(layout.canvas, headingOf(chart), chart.summary, idPrefix);
    drawChart(canvas, chart, layout);
    return wholeDocument ? canvas.document() : canvas.element();
}

}  // namespace

std::string svgPicture(const Chart& chart) {
    return drawn(chart, "", true);
}

std::string inlineSvgPicture(const Chart& chart, std::string_view idPrefix) {
    return drawn(chart, idPrefix, false);
}

}  // namespace ambersel::plot
