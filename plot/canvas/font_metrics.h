#pragma once

// How large text comes out in the face every picture names (DejaVu Sans, regular and bold), from
// the metrics the program ships (plot/canvas/font_metrics_table.cpp, written by
// scripts/make-font-metrics), never from the fonts a system has: a layout, and every SVG written
// from it, is the same on every platform. Advances are added without kerning, and backends draw
// without kerning or ligatures, so that drawn text is as wide as measured.

#include <string_view>

#include "plot/canvas/canvas.h"
#include "plot/canvas/geometry.h"

namespace ambersel::plot {

// A line of `font`, in picture units.
struct LineMetrics {
    double ascent = 0;   // above the baseline
    double descent = 0;  // below it, positive
    double height = 0;   // from one baseline to the next
};

LineMetrics lineMetrics(const Font& font);

// The advance of `utf8` as drawn (plot/canvas/drawn_text.h) and the height of its line. A code
// point the face has no glyph for counts an em: another face draws it, and boxes fitted to the
// text had better be too wide than too narrow.
TextExtent textExtent(std::string_view utf8, const Font& font);

// Where the baseline of a line of `font` lies below the middle of its line: centred in a box, text
// stands on the box's middle plus this.
double baselineBelowMiddle(const Font& font);

}  // namespace ambersel::plot
