#pragma once

// The report for the record that --report writes: one file for each list when its name holds
// {name}, else one report of every list, with a summary table first.

#include <optional>
#include <string>
#include <vector>

#include "cli/file_evaluation.h"
#include "cli/plot_drawing.h"
#include "report/list_record.h"

namespace ambersel::cli {

// The format a report file's extension asks for: ".pdf", ".html" or ".htm" in any letter case.
bool isReportName(const std::string& pattern);

// Why `pattern` does not do as the report name for `files`, or nothing when it does: it must end in
// .pdf, .html or .htm, and with {name} no two files may go to the same report. A report also needs
// a SOURCE_DATE_EPOCH that names a time, when the environment sets one.
std::optional<std::string> reportNameProblem(const std::string& pattern,
                                             const std::vector<std::string>& files);

// The record of `evaluation`, a file with a verdict evaluated with FileFactsWanted::Yes, for a
// report: its picture, its bands between `bandEdges` (empty: the decades it spans) and its file's
// facts. Standard library only: an HTML report of it needs no toolkit.
report::ListRecord listRecordOf(const FileEvaluation& evaluation,
                                const std::vector<double>& bandEdges);

class RecordReport {
  public:
    // `drawing` draws the pictures and writes the files; it must outlive this report. The report's
    // evaluation time is now, or SOURCE_DATE_EPOCH's (checked by reportNameProblem()).
    RecordReport(const PlotDrawing& drawing, std::string pattern, std::vector<double> bandEdges);

    // Adds `evaluation`, a file with a verdict. A report of its own is written at once; returns why
    // it could not be, or nothing.
    std::optional<std::string> add(const FileEvaluation& evaluation);

    // Writes the one report of every list added, if that is the kind, its summary page led by
    // `lot` when given; returns why it could not be written, or nothing. Writes nothing when no
    // list gave a verdict.
    std::optional<std::string> finish(const report::LotPage* lot = nullptr);

    // The file the report of `argument` goes to.
    std::filesystem::path targetFor(const std::string& argument) const;

  private:
    const PlotDrawing& m_drawing;
    std::string m_pattern;
    std::vector<double> m_bandEdges;
    report::ReportHeading m_heading;
    bool m_onePerList = false;
    std::vector<report::ListRecord> m_records;
};

}  // namespace ambersel::cli
