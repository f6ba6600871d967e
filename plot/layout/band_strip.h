#pragma once

// The strip of frequency bands under the plot area: a row of boxes per series, each box spanning
// its band on the frequency scale of the plot above it.

#include <vector>

#include "plot/layout/chart.h"
#include "plot/layout/chart_layout.h"
#include "plot/layout/scale.h"

namespace ambersel::plot {

// The boxes of `bands` from `top`, `height` high: each from its lower to its upper edge on
// `frequencies`, cut to the scale's extent, and left out where nothing of it remains. A label is
// kept where it fits inside its box.
std::vector<BandBox> bandBoxes(const std::vector<ChartBand>& bands, const Scale& frequencies,
                               double top, double height, const MeasureText& measure);

}  // namespace ambersel::plot
