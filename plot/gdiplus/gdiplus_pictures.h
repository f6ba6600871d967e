#pragma once

// Spectrum charts drawn as PNG pictures with GDI+, offscreen: the Windows build's PNG, laid out as
// every build lays out the chart's SVG (plot/drawing/svg_picture.h).

#include <string>

#include "plot/layout/chart.h"

namespace ambersel::plot {

// The bytes of `chart` drawn as a PNG image, 1200 pixels wide and 700 high, more with a band
// strip; empty when it could not be drawn. Starts GDI+ for the call; throws std::runtime_error
// when it cannot.
std::string pngPicture(const Chart& chart);

}  // namespace ambersel::plot
