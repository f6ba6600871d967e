#include "plot/layout/band_strip.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ambersel::plot {
namespace {

// Where the edge at `hertz` lies across the picture; an edge with no place on a logarithmic axis
// lies beyond the end it stands for.
double placeOfEdge(double hertz, const Scale& frequencies, double beyond) {
    if (std::isnan(hertz)) {
        return beyond;
    }
    if (hertz <= 0) {
        return -std::numeric_limits<double>::infinity();
    }
    return frequencies.place(std::log10(hertz));
}

}  // namespace

std::vector<BandBox> bandBoxes(const std::vector<ChartBand>& bands, const Scale& frequencies,
                               double top, double height, const MeasureText& measure) {
    const double left = std::min(frequencies.origin, frequencies.origin + frequencies.extent);
    const double right = std::max(frequencies.origin, frequencies.origin + frequencies.extent);
    std::vector<BandBox> boxes;
    for (const ChartBand& band : bands) {
        const double from = std::max(left, placeOfEdge(band.lower, frequencies, right));
        const double to = std::min(right, placeOfEdge(band.upper, frequencies, left));
        if (!(to > from)) {
            continue;
        }
        BandBox& box = boxes.emplace_back();
        box.box = Rect{from, top, to - from, height};
        box.share = band.share;
        const TextExtent text = measure(band.label, TextRole::BandLabel);
        if (text.width + 6 <= box.box.width && text.height <= height) {
            box.label = band.label;
        }
    }
    return boxes;
}

}  // namespace ambersel::plot
