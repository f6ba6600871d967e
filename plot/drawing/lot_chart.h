#pragma once

// The lot's picture for --summary with --plot: above, a histogram of the margins with the pass
// line at 0 dB; below, the margin of each list in the order given (or over the files' modification
// times), failures marked. Laid out and drawn on a canvas by standard-library code, so that its SVG
// is the same bytes on every platform.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "evaluation/lot_summary.h"
#include "plot/canvas/canvas.h"

namespace ambersel::plot {

inline constexpr Size kLotChartSize{1200, 900};

// Margins counted into bins of one width, their edges multiples of it, so that 0 dB is always an
// edge and a bin never holds both sides of the pass line.
struct MarginBins {
    double width = 1;                 // dB
    long long firstIndex = 0;         // the first bin starts at firstIndex * width
    std::vector<std::size_t> counts;  // lists per bin, in increasing margin

    double lowerEdge(std::size_t bin) const {
        return static_cast<double>(firstIndex + static_cast<long long>(bin)) * width;
    }
};

// Bins of a round width (niceStep(): 1, 2 or 5 times a power of ten dB) that cut the span of
// `margins` and of 0 dB into at most about `wanted` bins. A margin on an edge counts in the bin
// above it.
MarginBins marginBins(std::span<const double> margins, int wanted);

// Draws the picture of `summary` on `canvas`, kLotChartSize large; with `byTime` the trend runs
// over the files' modification times, lists without one left out.
void drawLotChart(Canvas& canvas, const LotSummary& summary, bool byTime);

// The picture's title: "Lot of 300 lists".
std::string lotChartTitle(const LotSummary& summary);

// The picture as an SVG document, described by `description` (the lot's figures on one line).
std::string lotChartSvg(const LotSummary& summary, bool byTime, std::string_view description);

}  // namespace ambersel::plot
