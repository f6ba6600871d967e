// The build with Qt: the lot's picture painted as PNG.

#include "cli/lot_chart.h"
#include "plot/painting/pictures.h"

namespace ambersel::cli {

std::string lotChartPng(const LotSummary& summary, bool byTime) {
    return plot::pngPicture(kLotChartSize,
                            [&](plot::Canvas& canvas) { drawLotChart(canvas, summary, byTime); });
}

}  // namespace ambersel::cli
