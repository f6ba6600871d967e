// The build without Qt: it has no painting backend.

#include "cli/plot_drawing_backend.h"

namespace ambersel::cli {

std::variant<std::unique_ptr<PaintingBackend>, std::string> startPaintingBackend(
    const std::string& /*programName*/) {
    return std::string(
        "this build draws no PNG pictures (it was built without Qt); ask for .svg instead");
}

}  // namespace ambersel::cli
