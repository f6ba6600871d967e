// The build with Qt: plots drawn offscreen and written whole.

#include "cli/plot_drawing.h"
#include "cli/spectrum_chart.h"
#include "plot/painting/pictures.h"

namespace ambersel::cli {
namespace {

class PaintedPlotDrawing final : public PlotDrawing {
  public:
    explicit PaintedPlotDrawing(const std::string& programName) : m_session(programName) {}

    std::optional<std::string> draw(const FileEvaluation& evaluation,
                                    const std::filesystem::path& target,
                                    PlotFormat format) const override {
        const plot::Chart chart = spectrumChart(evaluation);
        const std::string bytes =
            format == PlotFormat::Svg ? plot::svgPicture(chart) : plot::pngPicture(chart);
        if (bytes.empty()) {
            return "the picture could not be rendered";
        }
        return replaceFile(target, bytes);
    }

  private:
    plot::GraphicsSession m_session;
};

}  // namespace

std::unique_ptr<PlotDrawing> startPlotDrawing(const std::string& programName) {
    return std::make_unique<PaintedPlotDrawing>(programName);
}

}  // namespace ambersel::cli
