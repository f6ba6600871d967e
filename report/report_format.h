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

}  // namespace ambersel::report
