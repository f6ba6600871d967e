// The painting backend of the Windows build: PNG pictures drawn with GDI+, which every Windows has.
// It writes no PDF: a report for print is the HTML one, printed from a browser.

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
    // Never asked for: startPaintingBackend() refuses a run that wants a PDF.
    std::string pdfReport(const report::Document& /*document*/,
                          const report::ReportHeading& /*heading*/) const override {
        return {};
    }
};

}  // namespace

std::variant<std::unique_ptr<PaintingBackend>, std::string> startPaintingBackend(
    const std::string& /*programName*/, bool pdf) {
    if (pdf) {
        return std::string(
            "this build writes no PDF reports; write the report as HTML "
            "(--report FILE.html) and print it to PDF from a browser");
    }
    return std::make_unique<GdiplusBackend>();
}

}  // namespace ambersel::cli
