#include "report/report_file.h"

#include <stdexcept>
#include <variant>

#include "files/output_file.h"
#include "report/html_report.h"
#include "report/pdf_report.h"

namespace ambersel::report {

std::optional<std::string> writeReportFile(const std::filesystem::path& target,
                                           const Document& document, const ReportHeading& heading) {
    const std::optional<ReportFormat> format = reportFormatOf(target);
    if (!format) {
        return "a report file ends in .pdf or .html";
    }
    if (*format == ReportFormat::Html) {
        if (const std::error_code error = replaceFile(target, reportHtml(document))) {
            return error.message();
        }
        return std::nullopt;
    }
    auto begun = FileReplacement::begin(target);
    if (const auto* error = std::get_if<std::error_code>(&begun)) {
        return error->message();
    }
    FileReplacement& file = std::get<FileReplacement>(begun);
    try {
        writePdfReport([&file](std::string_view bytes) { file.write(bytes); }, document, heading);
    } catch (const std::runtime_error& failure) {
        // The new file goes with the replacement, unfinished; the target stays as it was.
        return failure.what();
    }
    if (const std::error_code error = file.commit()) {
        return error.message();
    }
    return std::nullopt;
}

}  // namespace ambersel::report
