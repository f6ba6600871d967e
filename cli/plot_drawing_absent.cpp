// The build without Qt: it draws no pictures.

#include "cli/plot_drawing.h"

namespace ambersel::cli {

std::unique_ptr<PlotDrawing> startPlotDrawing(const std::string& /*programName*/) {
    return nullptr;
}

}  // namespace ambersel::cli
