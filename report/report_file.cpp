#include "report/report_file.h"

#include "files/output_file.h"
#include "report/html_report.h"

namespace ambersel::report {

std::optional<std::string> writeReportFile(const std::filesystem::path& target,
                                           const Document& document, const ReportHeading& heading,
                                           const PdfRenderer& pdf) {
    const std::optional<ReportFormat> format = reportFormatOf(target);
    if (!format) {
        return "a report file ends in .pdf or .html";
    }
    if (*format == ReportFormat::Pdf && !pdf) {
        return "this build writes no PDF reports";
    }
    const std::string bytes =
        *format == ReportFormat::Html ? reportHtml(document) : pdf(document, heading);
    if (bytes.empty()) {
        return "the report could not be made";
    }
    if (const std::error_code error = replaceFile(target, bytes)) {
        return error.message();
    }
    return std::nullopt;
}

}  // namespace ambersel::report
