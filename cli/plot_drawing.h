#pragma once

// Drawing the plots of list files, and the reports for the record that hold them. Only a build with
// Qt draws pictures and writes reports.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/file_evaluation.h"
#include "cli/plot_files.h"
#include "plot/layout/chart.h"
#include "report/list_record.h"

namespace ambersel::cli {

class PlotDrawing {
  public:
    PlotDrawing() = default;
    PlotDrawing(const PlotDrawing&) = delete;
    PlotDrawing& operator=(const PlotDrawing&) = delete;
    virtual ~PlotDrawing() = default;

    // Writes `chart` to `target`. The file is replaced whole or left as it was. Returns why it
    // could not be written, or nothing on success.
    virtual std::optional<std::string> draw(const plot::Chart& chart,
                                            const std::filesystem::path& target,
                                            PlotFormat format) const = 0;

    // Writes the report of `records` to `target`, as PDF or HTML by its extension; replaced whole
    // or left as it was. Returns why it could not be written, or nothing on success.
    virtual std::optional<std::string> writeReport(
        const std::filesystem::path& target, const report::ReportHeading& heading,
        const std::vector<report::ListRecord>& records) const = 0;
};

// Starts drawing offscreen; no display is needed. The drawing holds the process's one graphics
// session, so start it only when a plot is wanted and keep it while plotting; the toolkit's
// messages go to standard error after `programName`. Nothing in a build that draws no pictures.
// Starting it sets the C library's locale from the environment, which changes nothing here: the
// reader, the reports and the pictures convert numbers without the C library.
std::unique_ptr<PlotDrawing> startPlotDrawing(const std::string& programName);

}  // namespace ambersel::cli
