#include "report/report_file.h"

#include "evaluation/output_file.h"
#include "report/html_report.h"
#include "report/pdf_report.h"

namespace ambersel::report {

std::optional<std::string> writeReport(const std::filesystem::path& target, ReportFormat format,
                                       const ReportHeading& heading,
                                       const std::vector<ListRecord>& records) {
    const std::string bytes =
        format == ReportFormat::Html ? reportHtml(heading, records) : pdfReport(heading, records);
    if (bytes.empty()) {
        return "the report could not be made";
    }
    if (const std::error_code error = replaceFile(target, bytes)) {
        return error.message();
    }
    return std::nullopt;
}

}  // namespace ambersel::report
