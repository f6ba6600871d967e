#pragma once

// What a spectrum chart shows, before any layout: headings, and one or more series of measured
// points, each point with a weight that its colour and size show.

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

// One list of points, drawn as marks and an outline of its spectrum.
struct Series {
    std::string name;  // what a legend would call it
    std::vector<ChartPoint> points;
};

struct Chart {
    std::string title;       // the verdict line
    bool failed = false;     // the title in the colour of a fail, else of a pass
    std::string subject;     // beside the title: what was measured
    std::string summary;     // under the title
    std::string warning;     // under the summary, in the colour of a warning; empty for none
    std::string weightName;  // what the weights are, under the colour scale's caption
    // Drawn on one pair of axes that spans them all; today a chart holds one series.
    std::vector<Series> series;
};

}  // namespace ambersel::plot
