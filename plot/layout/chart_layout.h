#pragma once

// Where everything data-dependent of a spectrum chart goes in the picture: the axes and their
// lines, each series' marks and outline, labels for the heaviest points, the colour scale's
// values. The painting side adds the fixed parts (headings, frame, legend) and the colours.
//
// Every series is placed on the same scales, so series drawn over one another line up, and
// anything drawn under the plot area (a strip of frequency bands, say) can use the frequency
// scale to line up with them.

#include <cstddef>
#include <string>
#include <vector>

#include "plot/layout/chart.h"
#include "plot/layout/geometry.h"
#include "plot/layout/scale.h"

namespace ambersel::plot {

struct Mark {
    Point at;
    double radius = 0;
    double shade = 0;        // where the colour lies on the colour scale, 0 to 1
    bool undefined = false;  // a weight that is not a number: drawn as a cross
};

// A label naming a point, inside `box`, tied to the point by a line from `point` to `anchor`.
struct PointLabel {
    Point point;
    Rect box;
    Point anchor;
    std::string text;  // "#1  12.3%": rank and share
};

struct SeriesLayout {
    std::vector<Point> outline;  // a polyline, left to right
    std::vector<Mark> marks;     // lightest first, so that heavy marks are drawn on top
    std::vector<PointLabel> labels;
};

struct ScaleTick {
    double fraction = 0;  // 0 at the colour scale's bottom, 1 at its top
    std::string label;
};

struct ChartLayout {
    Size canvas;
    Rect plotArea;
    Scale frequencies;  // places log10 of the frequency in Hz, across
    Scale levels;       // places the level, upwards
    std::vector<AxisLine> frequencyLines;
    std::vector<AxisLine> levelLines;
    std::vector<SeriesLayout> series;  // one for each of the chart's series
    std::vector<ScaleTick> colourScale;
    bool anyUndefined = false;  // a drawn point's weight is not a number

    bool hasMarks() const;
};

// How many of each series' heaviest points are labelled.
inline constexpr std::size_t kLabelledPoints = 3;

// Lays `chart` out on a canvas of 1200 by 700 units. The axes span every drawable point, with a
// margin; without any, 150 kHz to 30 MHz and 0 to 100 dBµV.
ChartLayout layOutChart(const Chart& chart, const MeasureText& measure);

}  // namespace ambersel::plot
