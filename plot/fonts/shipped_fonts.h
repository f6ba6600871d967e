#pragma once

// The TrueType files of the faces the program ships, built into it on every platform: a picture
// drawn on Windows shows the same letters as on Linux without the faces being installed, and a
// PDF embeds the very faces its text was measured with (plot/canvas/font_metrics.h).

#include <cstddef>
#include <span>

#include "plot/canvas/font_metrics.h"

namespace ambersel::plot {

// The whole file of `face` (DejaVu Sans, Sans Bold or Sans Mono, version 2.37), alive for the
// whole process.
std::span<const std::byte> shippedFontFile(Face face);

}  // namespace ambersel::plot
