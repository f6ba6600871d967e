// The build with Qt: plots drawn offscreen and written whole.

#include "cli/plot_drawing.h"
#include "plot/drawing/svg_picture.h"
#include "plot/painting/pictures.h"
#include "report/report_file.h"

namespace ambersel::cli {
namespace {

class PaintedPlotDrawing final : public PlotDrawing {
  public:
    explicit PaintedPlotDrawing(const std::string& programName) : m_session(programName) {}

    std::optional<std::string> draw(const plot::Chart& chart, const std::filesystem::path& target,
                                    PlotFormat format) const override {
        const std::string bytes =
            format == PlotFormat::Svg ? plot::svgPicture(chart) : plot::pngPicture(chart);
        if (bytes.empty()) {
            return "the picture could not be rendered";
        }
        return replaceFile(target, bytes);
    }

    std::optional<std::string> writeReport(
        const std::filesystem::path& target, const report::ReportHeading& heading,
        const std::vector<report::ListRecord>& records) const override {
        const std::optional<report::ReportFormat> format = report::reportFormatOf(target);
        if (!format) {
            return std::string("a report file ends in .pdf or .html");
        }
        return report::writeReport(target, *format, heading, records);
    }

  private:
    plot::GraphicsSession m_session;
};

}  // namespace

std::unique_ptr<PlotDrawing> startPlotDrawing(const std::string& programName) {
    return std::make_unique<PaintedPlotDrawing>(programName);
}

}  // namespace ambersel::cli
