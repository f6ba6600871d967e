#include "cli/record_report.h"

#include <utility>
#include <variant>

#include "cli/argument_text.h"
#include "cli/charted_list.h"
#include "cli/path_text.h"
#include "evaluation/value_text.h"
#include "plot/layout/spectrum_chart.h"
#include "report/report_format.h"

namespace ambersel::cli {

bool isReportName(const std::string& pattern) {
    return report::reportFormatOf(pattern).has_value();
}

std::optional<std::string> reportNameProblem(const std::string& pattern,
                                             const std::vector<std::string>& files) {
    if (!isReportName(pattern)) {
        return "--report needs a file name ending in .pdf or .html: " + printedPath(pattern);
    }
    const auto heading = report::reportHeadingNow(AMBERSEL_VERSION);
    if (const auto* why = std::get_if<std::string>(&heading)) {
        return *why;
    }
    if (const std::optional<std::filesystem::path> shared = sharedTarget(pattern, files)) {
        return "two files would go to the same report " + printedPath(argumentOfPath(*shared));
    }
    return std::nullopt;
}

report::ListRecord listRecordOf(const FileEvaluation& evaluation,
                                const std::vector<double>& bandEdges) {
    report::ListRecord record = report::recordOf(
        evaluation.isStandardInput() ? std::string("standard input") : evaluation.argument,
        evaluation.points, evaluation.stop, bandEdges);
    record.picture = report::recordPicture(plot::spectrumChart(chartedList(evaluation), bandEdges));
    record.file = evaluation.facts;
    record.fileWrittenAfterReading = evaluation.factsWithheld;
    return record;
}

RecordReport::RecordReport(const PlotDrawing& drawing, std::string pattern,
                           std::vector<double> bandEdges)
    : m_drawing(drawing),
      m_pattern(std::move(pattern)),
      m_bandEdges(std::move(bandEdges)),
      m_heading(std::get<report::ReportHeading>(report::reportHeadingNow(AMBERSEL_VERSION))),
      m_onePerList(m_pattern.find(kPlotNamePlaceholder) != std::string::npos) {}

std::filesystem::path RecordReport::targetFor(const std::string& argument) const {
    return plotTargetFor(m_pattern, argument);
}

std::optional<std::string> RecordReport::add(const FileEvaluation& evaluation) {
    report::ListRecord record = listRecordOf(evaluation, m_bandEdges);
    if (!m_onePerList) {
        // Only the record is kept, never the list: a report of many long lists stays small.
        m_records.push_back(std::move(record));
        return std::nullopt;
    }
    return m_drawing.writeReport(targetFor(evaluation.argument), m_heading, {std::move(record)});
}

std::optional<std::string> RecordReport::finish(const report::LotPage* lot) {
    if (m_onePerList || m_records.empty()) {
        return std::nullopt;
    }
    return m_drawing.writeReport(targetFor({}), m_heading, m_records, lot);
}

}  // namespace ambersel::cli
