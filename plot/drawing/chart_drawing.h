#pragma once

// A spectrum chart drawn on a canvas: its layout from the shipped font metrics, then the fixed
// parts (headings, frame, axis titles, captions), the colours, and what the layout placed. Every
// backend draws the same picture from it.

#include <string>
#include <string_view>

#include "plot/canvas/canvas.h"
#include "plot/layout/chart.h"
#include "plot/layout/chart_layout.h"
#include "plot/layout/scale.h"

namespace ambersel::plot {

// The font of each kind of text the layout places.
Font fontFor(TextRole role);

// How large `text` of `role` comes out: the layout's measure of every picture.
TextExtent measureChartText(std::string_view text, TextRole role);

// `chart` laid out with measureChartText.
ChartLayout layOutChart(const Chart& chart);

// Draws `chart`, laid out as `layout`, on `canvas`, over the whole of layout.canvas.
void drawChart(Canvas& canvas, const Chart& chart, const ChartLayout& layout);

// "FAIL : F = 1.1201  margin -0.99 dB — run.ASC": what the heading says, on one line, as the
// title of a picture file.
std::string headingOf(const Chart& chart);

}  // namespace ambersel::plot
