// The painting backend of the Windows build: PNG pictures drawn with GDI+, which every Windows has.

#include "cli/plot_drawing_backend.h"
#include "plot/gdiplus/gdiplus_pictures.h"

namespace ambersel::cli {
namespace {

class GdiplusBackend final : public PaintingBackend {
  public:
    std::string pngPicture(const plot::Chart& chart) const override {
        return plot::pngPicture(chart);
    }
    std::string pngPicture(plot::Size size,
                           const std::function<void(plot::Canvas&)>& draw) const override {
        return plot::pngPicture(size, draw);
    }
};

}  // namespace

std::variant<std::unique_ptr<PaintingBackend>, std::string> startPaintingBackend(
    const std::string& /*programName*/) {
    return std::make_unique<GdiplusBackend>();
}

}  // namespace ambersel::cli
