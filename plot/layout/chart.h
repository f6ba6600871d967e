#pragma once

// What a spectrum chart shows, before any layout: headings, one or more series of measured points,
// each point with a weight that its size (and, with one series, its colour) shows, and each
// series' frequency bands with their share of what the chart is about.

#include <string>
#include <vector>

namespace ambersel::plot {

struct ChartPoint {
    double frequency = 0;  // Hz, on a logarithmic axis
    double level = 0;      // dBµV
    // The point's share of what the chart is about, 0 to 1 for a point that counts. Not a number
    // for a point whose share is undefined: it is drawn as a cross.
    double weight = 0;
};

// Only a point with a frequency above 0 and finite values has a place on a logarithmic axis.
bool isDrawable(const ChartPoint& point);

// A frequency band, drawn as a box under the plot area that lines up with the frequency axis and
// is shaded by its share. A band that reaches beyond the axis is cut at its ends.
struct ChartBand {
    double lower = 0;   // Hz; 0 or less (minus infinity, say): from the low end of the axis
    double upper = 0;   // Hz; infinity: to the high end of the axis
    double share = 0;   // 0 to 1; not a number: the box is left unshaded
    std::string label;  // "87.8%", written in the box where it fits
};

// One list of points, drawn as marks and an outline of its spectrum.
struct Series {
    std::string name;  // the list's file name, as the legend calls it
    std::vector<ChartPoint> points;
    // Defaults to spare a series of points alone from spelling them out.
    std::vector<ChartBand> bands{};  // its row of the band strip; none: no row
    // What the legend says of it besides its name, when the chart holds several series.
    std::string verdict{};  // its verdict line
    bool failed = false;    // the verdict in the colour of a fail, else of a pass
    std::string margin{};   // "margin -0.99 dB"
};

struct Chart {
    std::string title;       // the verdict line
    std::string titleNote;   // after the title, in its colour: the margin
    bool failed = false;     // the title in the colour of a fail, else of a pass
    std::string subject;     // after the title and its note: what was measured
    std::string summary;     // under the title
    std::string warning;     // under the summary, in the colour of a warning; empty for none
    std::string weightName;  // what the weights are: the colour scale's caption, or the legend's
    std::string bandsName;   // what the band boxes show, beside the band strip
    // Drawn on one pair of axes that spans them all. One series has its points coloured by
    // weight; several are each drawn in a colour of their own and named in a legend.
    std::vector<Series> series;
};

}  // namespace ambersel::plot
