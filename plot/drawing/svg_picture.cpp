#include "plot/drawing/svg_picture.h"

#include "plot/canvas/svg_canvas.h"
#include "plot/drawing/chart_drawing.h"

namespace ambersel::plot {

std::string svgPicture(const Chart& chart) {
    const ChartLayout layout = layOutChart(chart);
    SvgCanvas canvas(layout.canvas, headingOf(chart), chart.summary);
    drawChart(canvas, chart, layout);
    return canvas.document();
}

}  // namespace ambersel::plot
