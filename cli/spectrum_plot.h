#pragma once

// A picture of one list's spectrum for a test report: the level over a logarithmic frequency axis,
// each point marked by its share of F, the verdict and F in the title, and a note of what reading
// left out.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli/file_evaluation.h"

namespace ambersel::cli {

enum class PlotFormat { Svg, Png };

// The format a plot file's extension asks for (".svg" or ".png", in any letter case), if any.
std::optional<PlotFormat> plotFormatOf(const std::filesystem::path& target);

// Draws plots offscreen; no display is needed. Holds the process's one graphics session, so make
// one only when a plot is wanted and keep it while plotting. The process's C locale is left as it
// was, so numbers read after it are read as before.
class SpectrumPlotter {
  public:
    SpectrumPlotter();
    SpectrumPlotter(const SpectrumPlotter&) = delete;
    SpectrumPlotter& operator=(const SpectrumPlotter&) = delete;
    ~SpectrumPlotter();

    // Writes the plot of `evaluation`, a file with a verdict, to `target`. The file is replaced
    // whole or left as it was. Returns why it could not be written, or nothing on success.
    std::optional<std::string> draw(const FileEvaluation& evaluation,
                                    const std::filesystem::path& target, PlotFormat format) const;

  private:
    struct Graphics;
    std::unique_ptr<Graphics> m_graphics;
};

}  // namespace ambersel::cli
