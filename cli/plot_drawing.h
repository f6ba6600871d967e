#pragma once

// Drawing the plots of list files. Only a build with Qt draws pictures.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli/file_evaluation.h"
#include "cli/plot_files.h"

namespace ambersel::cli {

class PlotDrawing {
  public:
    PlotDrawing() = default;
    PlotDrawing(const PlotDrawing&) = delete;
    PlotDrawing& operator=(const PlotDrawing&) = delete;
    virtual ~PlotDrawing() = default;

    // Writes the plot of `evaluation`, a file with a verdict, to `target`. The file is replaced
    // whole or left as it was. Returns why it could not be written, or nothing on success.
    virtual std::optional<std::string> draw(const FileEvaluation& evaluation,
                                            const std::filesystem::path& target,
                                            PlotFormat format) const = 0;
};

// Starts drawing offscreen; no display is needed. The drawing holds the process's one graphics
// session, so start it only when a plot is wanted and keep it while plotting; the toolkit's
// messages go to standard error after `programName`. Nothing in a build that draws no pictures.
// Starting it sets the C library's locale from the environment, which changes nothing here: the
// reader, the reports and the pictures convert numbers without the C library.
std::unique_ptr<PlotDrawing> startPlotDrawing(const std::string& programName);

}  // namespace ambersel::cli
