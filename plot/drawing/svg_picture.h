#pragma once

// Spectrum charts as SVG documents, written by the program itself: no toolkit is needed, and the
// same chart gives the same bytes on every platform.

#include <string>
#include <string_view>

#include "plot/layout/chart.h"

namespace ambersel::plot {

// `chart` as an SVG document, 1200 picture units wide and 700 high, more with a band strip; one
// unit is one CSS pixel. Its title is the heading on one line, its description the summary.
std::string svgPicture(const Chart& chart);

}  // namespace ambersel::plot
