#pragma once

// A picture of one list's spectrum for a test report: the level over a logarithmic frequency axis,
// each point marked by its share of F, the verdict and F in the title, and a note of what reading
// left out.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli/file_evaluation.h"
#include "cli/plot_drawing.h"

namespace ambersel::cli {

// Draws plots offscreen; no display is needed. Holds the process's one graphics session, so make
// one only when a plot is wanted and keep it while plotting. The process's C locale is left as it
// was, so numbers read after it are read as before.
class SpectrumPlotter : public PlotDrawing {
  public:
    SpectrumPlotter();
    ~SpectrumPlotter() override;

    std::optional<std::string> draw(const FileEvaluation& evaluation,
                                    const std::filesystem::path& target,
                                    PlotFormat format) const override;

  private:
    struct Graphics;
    std::unique_ptr<Graphics> m_graphics;
};

}  // namespace ambersel::cli
