#pragma once

// Spectrum charts drawn as PNG pictures with GDI+, offscreen: the Windows build's PNG, laid out as
// every build lays out the chart's SVG (plot/drawing/svg_picture.h).

#include <functional>
#include <string>

#include "plot/canvas/canvas.h"
#include "plot/layout/chart.h"

namespace ambersel::plot {

// The bytes of `chart` drawn as a PNG image, 1200 pixels wide and 700 high, more with a band
// strip; empty when it could not be drawn. Starts GDI+ for the call; throws std::runtime_error
// when it cannot.
std::string pngPicture(const Chart& chart);

// What `draw` draws on a canvas of `size` as a PNG image, on white; empty when it could not be
// drawn. Starts GDI+ for the call; throws std::runtime_error when it cannot.
std::string pngPicture(Size size, const std::function<void(Canvas&)>& draw);

}  // namespace ambersel::plot
