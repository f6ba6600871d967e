#include "cli/record_report.h"

#include <utility>
#include <variant>

#include "cli/argument_text.h"
#include "cli/plot_files.h"
#include "report/list_record.h"
#include "report/report_format.h"
#include "text/byte_text.h"

namespace ambersel::cli {

bool isReportName(const std::string& pattern) {
    return report::reportFormatOf(pattern).has_value();
}

std::optional<std::string> reportNameProblem(const std::string& pattern,
                                             const std::vector<std::string>& files) {
    if (!isReportName(pattern)) {
        return "--report needs a file name ending in .pdf or .html: " + escapedBytes(pattern, true);
    }
    const auto heading = report::reportHeadingNow(AMBERSEL_VERSION);
    if (const auto* why = std::get_if<std::string>(&heading)) {
        return *why;
    }
    if (const std::optional<std::filesystem::path> shared = sharedTarget(pattern, files)) {
        return "two files would go to the same report " +
               escapedBytes(argumentOfPath(*shared), true);
    }
    return std::nullopt;
}

}  // namespace ambersel::cli
