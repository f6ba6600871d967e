#pragma once

// The two forms a report for the record is written in, told apart by the file's name.

#include <filesystem>
#include <optional>

#include "files/output_file.h"

namespace ambersel::report {

enum class ReportFormat { Html, Pdf };

// The format a report file's extension asks for (".html", ".htm" or ".pdf", in any letter case).
inline std::optional<ReportFormat> reportFormatOf(const std::filesystem::path& target) {
    return formatOfName<ReportFormat>(
        target,
        {{".html", ReportFormat::Html}, {".htm", ReportFormat::Html}, {".pdf", ReportFormat::Pdf}});
}

// The name a dialog proposes for the report of the list at `list`: the list's file name without
// its last extension, then "-report" and the format's extension, so that the report sorts beside
// its list and says what it is: "emission_150k_30M-report.html" for a list at
// "C:\Lists\emission_150k_30M.ASC", "report.html" for a list without a name. The platform's
// separators apply.
inline std::filesystem::path proposedReportName(const std::filesystem::path& list,
                                                ReportFormat format) {
    std::filesystem::path name = list.filename().stem();
    name += name.empty() ? "report" : "-report";
    name += format == ReportFormat::Pdf ? ".pdf" : ".html";
    return name;
}

}  // namespace ambersel::report
