#pragma once

// The colours of a chart: the ink of its fixed parts, the colour scale that shades the points of
// one series by weight, and the colours that tell several series apart.

#include "plot/canvas/canvas.h"
#include "plot/layout/chart_legend.h"

namespace ambersel::plot {

inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kInk{0x21, 0x21, 0x21};
inline constexpr Colour kMutedInk{0x61, 0x61, 0x61};
inline constexpr Colour kPassColour{0x2e, 0x7d, 0x32};
inline constexpr Colour kFailColour{0xc6, 0x28, 0x28};
inline constexpr Colour kWarningColour{0xb3, 0x59, 0x00};
inline constexpr Colour kFrameColour{0x75, 0x75, 0x75};
inline constexpr Colour kOutlineColour{0x9e, 0x9e, 0x9e};
inline constexpr Colour kUndefinedColour{0x6a, 0x1b, 0x9a};  // a point whose term is not finite

// The colour of a point at `shade` on the colour scale (0 to 1): pale blue for points that barely
// count, through yellow and orange, to dark red for the heaviest.
Colour shadeColour(double shade);

// The colour of a series of `style`, from a palette that readers with the common colour-vision
// deficiencies still tell apart.
Colour seriesColour(const SeriesStyle& style);

// `colour` at `strength` between white (0) and itself (1): the shade of a band box.
Colour towardsWhite(Colour colour, double strength);

// `colour` darker by `factor` (above 1), its hue and saturation kept: the rim of a mark.
Colour darker(Colour colour, double factor);

// The lightness of `colour`, 0 (black) to 1 (white): halfway between its strongest and weakest
// channel.
double lightness(Colour colour);

}  // namespace ambersel::plot
