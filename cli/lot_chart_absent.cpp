// The build without Qt paints no PNG pictures.

#include "cli/lot_chart.h"

namespace ambersel::cli {

std::string lotChartPng(const LotSummary& /*summary*/, bool /*byTime*/) {
    return {};
}

}  // namespace ambersel::cli
