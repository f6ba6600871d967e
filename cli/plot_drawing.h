#pragma once

// Drawing the plots of list files, and writing the reports for the record that hold them. SVG
// pictures and HTML reports are the program's own; PNG pictures and PDF reports need the painting
// backend (cli/plot_drawing_backend.h), which is started only when one of them is asked for.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/file_evaluation.h"
#include "cli/plot_drawing_backend.h"
#include "cli/plot_files.h"
#include "plot/layout/chart.h"
#include "report/list_record.h"

namespace ambersel::cli {

class PlotDrawing {
  public:
    // Draws with `backend` what needs one; none when nothing asked for does.
    explicit PlotDrawing(std::unique_ptr<PaintingBackend> backend);

    // Writes `chart` to `target`. The file is replaced whole or left as it was. Returns why it
    // could not be written, or nothing on success.
    std::optional<std::string> draw(const plot::Chart& chart, const std::filesystem::path& target,
                                    PlotFormat format) const;

    // Writes what `draw` draws on a canvas of `size` to `target` as a PNG image, replaced whole or
    // left as it was. Returns why it could not be written, or nothing on success.
    std::optional<std::string> drawPng(plot::Size size,
                                       const std::function<void(plot::Canvas&)>& draw,
                                       const std::filesystem::path& target) const;

    // Writes the report of `records` (led by `lot` when given) to `target`, as PDF or HTML by its
    // extension; replaced whole or left as it was. Returns why it could not be written, or
    // nothing on success.
    std::optional<std::string> writeReport(const std::filesystem::path& target,
                                           const report::ReportHeading& heading,
                                           const std::vector<report::ListRecord>& records,
                                           const report::LotPage* lot = nullptr) const;

  private:
    std::unique_ptr<PaintingBackend> m_backend;
};

// Starts drawing the plots named `plotName` and the reports named `reportName` (each empty when
// not asked for; names checked by plotNameProblem() and reportNameProblem()), with the painting
// backend when they need it; or says why this build or installation cannot draw them.
std::variant<PlotDrawing, std::string> startPlotDrawing(const std::string& programName,
                                                        const std::string& plotName,
                                                        const std::string& reportName);

}  // namespace ambersel::cli
