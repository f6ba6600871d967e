#pragma once

// The sRGB colour space as an ICC profile (version 2.1, a display profile of three tone curves
// and three colorants), made here from the published sRGB parameters (IEC 61966-2-1: the
// primaries' and D65's chromaticities, the tone curve with its linear foot), adapted to the
// profile connection space's D50 with the Bradford transform. Archival PDF documents name the
// colours they are drawn in by such a profile in their output intent.

#include <string>

namespace ambersel::plot::pdf {

// The profile's bytes: the same on every platform, made from the four arithmetic operations
// alone.
std::string srgbProfile();

// What the profile's description says: "sRGB IEC61966-2.1".
inline constexpr const char* kSrgbName = "sRGB IEC61966-2.1";

}  // namespace ambersel::plot::pdf
