#include "cli/record_report.h"

#include <utility>

#include "cli/argument_text.h"
#include "evaluation/value_text.h"
#include "report/report_format.h"

namespace ambersel::cli {

bool isReportName(const std::string& pattern) {
    return report::reportFormatOf(pattern).has_value();
}

std::optional<std::string> reportNameProblem(const std::string& pattern,
                                             const std::vector<std::string>& files) {
    if (!isReportName(pattern)) {
        return "--report needs a file name ending in .pdf or .html: " + escapedBytes(pattern, true);
    }
    if (const std::optional<std::filesystem::path> shared = sharedTarget(pattern, files)) {
        return "two files would go to the same report " +
               escapedBytes(argumentOfPath(*shared), true);
    }
    return std::nullopt;
}

RecordReport::RecordReport(const PlotDrawing& drawing, std::string pattern,
                           std::vector<double> bandEdges)
    : m_drawing(drawing),
      m_pattern(std::move(pattern)),
      m_bandEdges(std::move(bandEdges)),
      m_onePerList(m_pattern.find(kPlotNamePlaceholder) != std::string::npos) {}

std::filesystem::path RecordReport::targetFor(const std::string& argument) const {
    return plotTargetFor(m_pattern, argument);
}

std::optional<std::string> RecordReport::add(const FileEvaluation& evaluation) {
    report::ListRecord record = m_drawing.record(evaluation, m_bandEdges);
    if (!m_onePerList) {
        // Only the record is kept, never the list: a report of many long lists stays small.
        m_records.push_back(std::move(record));
        return std::nullopt;
    }
    return m_drawing.writeReport(targetFor(evaluation.argument), {std::move(record)});
}

std::optional<std::string> RecordReport::finish() {
    if (m_onePerList || m_records.empty()) {
        return std::nullopt;
    }
    return m_drawing.writeReport(targetFor({}), m_records);
}

}  // namespace ambersel::cli
