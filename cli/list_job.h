#pragma once

// What a job makes of one list, the whole of it: the list read and analysed once, then every
// output of it rendered from that analysis (its lines, its JSON object, its table row, its picture
// and its report written, or its record's section kept for the report of every list). The
// delivering side only writes what a job made, in order.

#include <optional>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/plot_drawing.h"
#include "evaluation/evaluated_list.h"
#include "report/document.h"
#include "report/list_record.h"

namespace ambersel::cli {

struct ListOutputs {
    // The list; its points go once its outputs are made, unless one picture of every list needs
    // them.
    EvaluatedList list;
    std::string standardOutput;  // JSON objects without the comma between them
    std::string standardError;
    std::string tableRow;
    // "cannot write the plot X (why)" for each of its files that could not be written.
    std::vector<std::string> failures;
    // For the report of every list: its record's section and its row of the summary.
    std::optional<report::Section> section;
    std::vector<report::Cell> summaryRow;
};

class ListJob {
  public:
    // Reads its lists and writes their outputs as `options` asks, drawing through `drawing`, with
    // `heading` for their reports; all three must outlive the job. Shared by every thread.
    ListJob(const Options& options, const PlotDrawing& drawing,
            const std::optional<report::ReportHeading>& heading);

    // The list named `argument` ("-": standard input) and everything made of it.
    ListOutputs operator()(const std::string& argument) const;

  private:
    EvaluatedList evaluate(const std::string& argument) const;
    void writeText(ListOutputs& outputs) const;
    void drawPicture(ListOutputs& outputs) const;
    void makeRecord(ListOutputs& outputs) const;

    const Options& m_options;
    const PlotDrawing& m_drawing;
    const std::optional<report::ReportHeading>& m_heading;
    AnalysisScope m_scope;
};

// "cannot write the plot NAME (why)", as a failure to write one of a run's files says it.
std::string writeFailure(const char* what, const std::filesystem::path& target,
                         const std::string& why);

}  // namespace ambersel::cli
