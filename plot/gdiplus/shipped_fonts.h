#pragma once

// The TrueType files of the face every picture names, built into the program, so that a picture
// drawn on Windows shows the same letters as on Linux without the face being installed.

#include <cstddef>
#include <span>

namespace ambersel::plot {

// DejaVu Sans, or DejaVu Sans Bold: the whole file, alive for the whole process.
std::span<const std::byte> shippedFontFile(bool bold);

}  // namespace ambersel::plot
