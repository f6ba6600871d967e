#pragma once

// Drawing the pictures of lists and writing the reports for the record that hold them. SVG
// pictures and HTML reports are the program's own; PNG pictures and PDF reports need the painting
// backend (cli/plot_drawing_backend.h), which is started only when one of them is asked for. Safe
// to use from every job at once: the backend draws one picture at a time.

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

#include "cli/plot_drawing_backend.h"
#include "cli/plot_files.h"
#include "plot/layout/chart.h"
#include "report/report_file.h"

namespace ambersel::cli {

class PlotDrawing {
  public:
    // Draws with `backend` what needs one; none when nothing asked for does.
    explicit PlotDrawing(std::unique_ptr<PaintingBackend> backend);

    // Writes `chart` to `target`. The file is replaced whole or left as it was. Returns why it
    // could not be written, or nothing on success.
    std::optional<std::string> draw(const plot::Chart& chart,
                                    const std::filesystem::path& target) const;

    // Writes what `draw` draws on a canvas of `size` to `target` as a PNG image, replaced whole or
    // left as it was. Returns why it could not be written, or nothing on success.
    std::optional<std::string> drawPng(plot::Size size,
                                       const std::function<void(plot::Canvas&)>& draw,
                                       const std::filesystem::path& target) const;

    // Writes `document` to `target`, as PDF or HTML by its extension (report/report_file.h).
    std::optional<std::string> writeReport(const std::filesystem::path& target,
                                           const report::Document& document,
                                           const report::ReportHeading& heading) const;

  private:
    std::unique_ptr<PaintingBackend> m_backend;
    // The painting toolkit keeps state of its own: one picture or document at a time.
    mutable std::mutex m_backendInUse;
};

// Starts drawing the plots named `plotName` and the reports named `reportName` (each empty when
// not asked for; names checked by plotNameProblem() and reportNameProblem()), with the painting
// backend when they need it; or says why this build or installation cannot draw them.
std::variant<std::unique_ptr<PlotDrawing>, std::string> startPlotDrawing(
    const std::string& programName, const std::string& plotName, const std::string& reportName);

}  // namespace ambersel::cli
