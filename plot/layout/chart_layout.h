#pragma once

// Where everything data-dependent of a spectrum chart goes in the picture: the axes and their
// lines, each series' marks and outline, labels for the heaviest points, the colour scale's
// values, the strip of frequency bands under the plot area and, for several series, the legend.
// The painting side adds the fixed parts (headings, frame, captions) and the colours.
//
// Every series is placed on the same scales, so series drawn over one another line up, and the
// band strip uses the frequency scale to line up with them.

#include <cstddef>
#include <string>
#include <vector>

#include "plot/canvas/geometry.h"
#include "plot/layout/chart.h"
#include "plot/layout/chart_legend.h"
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

// A band of the strip under the plot area: its box, cut to the plot area's width.
struct BandBox {
    Rect box;
    double share = 0;   // the box's shade, 0 to 1; not a number: unshaded
    std::string label;  // centred in the box; empty where it does not fit
};

struct SeriesLayout {
    std::vector<Point> outline;  // a polyline, left to right
    std::vector<Mark> marks;     // lightest first, so that heavy marks are drawn on top
    std::vector<PointLabel> labels;
    SeriesStyle style;           // with several series, the colour and shape of its marks
    std::vector<BandBox> bands;  // its row of the band strip
    Rect bandRow;                // the row across the plot area's width; empty without bands
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
    double frequencyTitleBaseline = 0;  // of the frequency axis' title, centred under the axis
    std::vector<SeriesLayout> series;   // one for each of the chart's series
    // Several series: each in its own colour and shape, named in the legend. One series: its
    // marks coloured by weight, explained by the colour scale.
    bool bySeries = false;
    std::vector<ScaleTick> colourScale;
    bool anyUndefined = false;  // a drawn point's weight is not a number
    Rect bandStrip;             // around every series' row of bands; empty when there is none
    // The chart's bandsName, left of the strip; with several series, clear of a sample mark
    // that stands left of each row for its series.
    PlacedText bandsCaption;
    double legendLeft = 0;  // where the colour scale or the legend begins, right of the plot
    Legend legend;          // with several series

    bool hasMarks() const;
};

// How many of each series' heaviest points are labelled: with one series, and with several.
inline constexpr std::size_t kLabelledPoints = 3;
inline constexpr std::size_t kLabelledPointsBySeries = 1;

// Lays `chart` out on a canvas 1200 units wide and 700 high, taller by the band strip: the size of
// every picture file and report. The axes span every drawable point of every series, with a
// margin; without any, 150 kHz to 30 MHz and 0 to 100 dBµV.
ChartLayout layOutChart(const Chart& chart, const MeasureText& measure);

// The smallest canvas on which the headings, axis labels, colour scale and legend keep clear of
// one another.
inline constexpr Size kSmallestCanvas{760, 460};

// Lays `chart` out to fill `canvas` (at least kSmallestCanvas, which a smaller one is enlarged to):
// the headings, texts and marks keep their sizes in units, the plot area takes what they leave,
// and frequency labels that a short axis would crowd are thinned out. For a window, whose picture
// is as large as the user makes it.
ChartLayout layOutChart(const Chart& chart, const MeasureText& measure, Size canvas);

}  // namespace ambersel::plot
