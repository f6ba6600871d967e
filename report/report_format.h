#pragma once

// The two forms a report for the record is written in, told apart by the file's name.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <string>

namespace ambersel::report {

enum class ReportFormat { Html, Pdf };

// The format a report file's extension asks for (".html", ".htm" or ".pdf", in any letter case).
inline std::optional<ReportFormat> reportFormatOf(const std::filesystem::path& target) {
    std::string extension = target.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".html" || extension == ".htm") {
        return ReportFormat::Html;
    }
    if (extension == ".pdf") {
        return ReportFormat::Pdf;
    }
    return std::nullopt;
}

}  // namespace ambersel::report
