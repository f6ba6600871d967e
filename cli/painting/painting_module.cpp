// The plug-in library ambersel-painting: ambersel-eval's painting backend, drawn with Qt
// offscreen. Nothing but its entry is visible outside it.

#include <memory>
#include <string_view>

#include "cli/plot_drawing_backend.h"
#include "plot/painting/pictures.h"
#include "report/painting/pdf_report.h"

namespace ambersel::cli {
namespace {

class QtBackend final : public PaintingBackend {
  public:
    explicit QtBackend(const char* programName) : m_session(programName) {}

    std::string pngPicture(const plot::Chart& chart) const override {
        return plot::pngPicture(chart);
    }
    std::string pngPicture(plot::Size size,
                           const std::function<void(plot::Canvas&)>& draw) const override {
        return plot::pngPicture(size, draw);
    }
    std::string pdfReport(const report::Document& document,
                          const report::ReportHeading& heading) const override {
        return report::pdfReport(document, heading);
    }

  private:
    plot::GraphicsSession m_session;
};

}  // namespace
}  // namespace ambersel::cli

extern "C" __attribute__((visibility("default"))) ambersel::cli::PaintingBackend*
ambersel_start_painting(const char* programName, const char* programVersion) {
    if (std::string_view(programVersion) != AMBERSEL_VERSION) {
        return nullptr;
    }
    // The program takes it over and deletes it.
    return std::make_unique<ambersel::cli::QtBackend>(programName).release();
}
