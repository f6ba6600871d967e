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

// `chart` laid out with measureChartText, for a picture file or a report.
ChartLayout layOutChart(const Chart& chart);

// The size of the smallest text a chart draws, in picture units.
inline constexpr double kSmallestChartText = 12;

// A chart as a window shows it: laid out to fill the window's picture, in picture units that
// `scale` turns into the window's pixels. The scale makes the chart's smallest text as large as
// the window's own font, so that the chart reads like the rest of the window on a screen of any
// resolution, and a larger picture shows more room, not larger print.
struct WindowChart {
    double scale = 1;  // pixels per picture unit
    ChartLayout layout;
};

// `chart` laid out to fill a picture of `room` pixels, exactly, in a window whose font's em is
// `fontPixels` high. Only a room smaller than smallestPictureRoom(fontPixels), on a screen too
// small for it, gets a smaller scale and so smaller text.
WindowChart layOutForWindow(const Chart& chart, Size room, double fontPixels);

// The smallest picture, in pixels, whose text is as large as a font whose em is `fontPixels`
// high: kSmallestCanvas scaled.
Size smallestPictureRoom(double fontPixels);

// Draws `chart`, laid out as `layout`, on `canvas`, over the whole of layout.canvas.
void drawChart(Canvas& canvas, const Chart& chart, const ChartLayout& layout);

// "FAIL : F = 1.1201  margin -0.99 dB — run.ASC": what the heading says, on one line, as the
// title of a picture file.
std::string headingOf(const Chart& chart);

}  // namespace ambersel::plot
