#pragma once

// The legend of a chart of several series: the colour and mark shape of each, with its name,
// verdict and margin.

#include <cstddef>
#include <string>
#include <vector>

#include "plot/canvas/geometry.h"
#include "plot/layout/chart.h"
#include "plot/layout/scale.h"

namespace ambersel::plot {

// How many colours series are told apart by. Beyond them the colours come round again with the
// next mark shape.
inline constexpr std::size_t kSeriesColours = 7;

struct SeriesStyle {
    std::size_t colour = 0;  // 0 to kSeriesColours - 1
    MarkShape shape = MarkShape::Circle;
};

// The style of the series at `index`: the colours in turn, each round of them with the next
// shape. Different for each of the first 4 × kSeriesColours series.
SeriesStyle seriesStyle(std::size_t index);

// A line of text and the start of its baseline.
struct PlacedText {
    Point at;
    std::string text;
};

struct LegendEntry {
    std::size_t series = 0;  // its index in the chart
    Point sample;            // the centre of its sample mark
    PlacedText name;         // cut in the middle where it is too long
    PlacedText verdict;      // in the colour of the verdict
    PlacedText margin;
    Rect bounds;  // around the entry
};

struct Legend {
    PlacedText heading;
    std::vector<LegendEntry> entries;  // in the order of the series, as many as fit
    // Under the entries: what a mark's size shows, and how many series found no room.
    std::vector<PlacedText> notes;
};

// The legend of `chart`'s series inside `column`; entries that would reach below it are left out
// and counted in a note.
Legend layOutLegend(const Chart& chart, const Rect& column, const MeasureText& measure);

// `text`, or where it is wider than `width`, its start and end with "…" for the middle, as much of
// both as fits. Cuts only between UTF-8 sequences.
std::string elidedToFit(const std::string& text, double width, TextRole role,
                        const MeasureText& measure);

}  // namespace ambersel::plot
