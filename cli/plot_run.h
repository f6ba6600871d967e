#pragma once

// What --plot does with the evaluated lists: each drawn to a picture of its own as soon as it is
// evaluated, or, with several lists and a plot name without {name}, all drawn over one another on
// one picture once the last is evaluated.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/file_evaluation.h"
#include "cli/plot_drawing.h"

namespace ambersel::cli {

// A picture that could not be written: which, and why.
struct PlotFailure {
    std::filesystem::path target;
    std::string why;
};

class PlotRun {
  public:
    // Draws with `drawing`, which must outlive the run, to the plot name `pattern` (checked by
    // plotNameProblem()) for `fileCount` list files; bands between `bandEdges`, or on decades when
    // there are none.
    PlotRun(const PlotDrawing& drawing, std::string pattern, std::vector<double> bandEdges,
            std::size_t fileCount);

    // Takes one evaluated list file. One with a verdict is drawn, now or by finish(), which keeps
    // a copy; one that could not be read is left out. Returns the picture that could not be
    // written.
    std::optional<PlotFailure> add(const FileEvaluation& evaluation);

    // Draws the one picture of all lists with a verdict, when the lists go onto one and any has a
    // verdict. Returns the picture that could not be written.
    std::optional<PlotFailure> finish();

  private:
    std::optional<PlotFailure> draw(const plot::Chart& chart, const std::string& argument) const;

    const PlotDrawing& m_drawing;
    std::string m_pattern;
    std::vector<double> m_bandEdges;
    bool m_onePicture = false;
    std::vector<FileEvaluation> m_kept;  // for the one picture
};

}  // namespace ambersel::cli
