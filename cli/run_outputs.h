#pragma once

// The delivering side of a run: what every list's job made, written in the order given (standard
// output and error, the lot's table), and what only the whole run gives, once the last list is
// in: one picture of every list, the report of every list, the lot's picture and summary.

#include <optional>
#include <string>
#include <vector>

#include "cli/list_job.h"
#include "cli/options.h"
#include "cli/plot_drawing.h"
#include "evaluation/lot_summary.h"
#include "files/output_file.h"

namespace ambersel::cli {

class RunOutputs {
  public:
    // Writes as `options` asks, drawing through `drawing`; both must outlive it.
    RunOutputs(const Options& options, const PlotDrawing& drawing,
               const std::optional<report::ReportHeading>& heading);

    // Begins the lot's table and the document on standard output; the exit status of a run that
    // ends here, or nothing. Before any list is evaluated, so that a table that cannot be written
    // costs nothing.
    std::optional<int> begin();

    // Writes what one list's job made, the next in the order given.
    void deliver(ListOutputs& outputs);

    // Writes what the whole run gives and ends standard output; the run's exit status.
    int finish();

  private:
    int finishOnePicture();
    int finishReport();
    int finishLotPicture();
    void finishStandardOutput();
    int fail(const std::string& message);

    const Options& m_options;
    const PlotDrawing& m_drawing;
    const std::optional<report::ReportHeading>& m_heading;
    std::optional<FileReplacement> m_table;
    LotSummary m_summary;
    int m_status = kPass;
    bool m_first = true;
    std::vector<EvaluatedList> m_pictured;  // for one picture of every list
    std::vector<report::Section> m_sections;
    std::vector<std::vector<report::Cell>> m_summaryRows;
};

}  // namespace ambersel::cli
