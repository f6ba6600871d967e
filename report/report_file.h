#pragma once

// The report for the record as a PDF document, and written to a file as HTML or as PDF; and the
// facts of a list file it records. PDF needs the process's graphics session (a QGuiApplication).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "report/list_record.h"
#include "report/report_format.h"

namespace ambersel::report {

// The report as a PDF document; empty when it could not be made.
std::string pdfReport(const ReportHeading& heading, const std::vector<ListRecord>& records);

// Writes the report to `target`: replaced whole, or left as it was when anything fails. Returns
// why it could not be written, or nothing on success.
std::optional<std::string> writeReport(const std::filesystem::path& target, ReportFormat format,
                                       const ReportHeading& heading,
                                       const std::vector<ListRecord>& records);

// The size, modification time and SHA-256 of the file at `path`, read through one open
// descriptor; nothing when it cannot be read.
std::optional<FileFacts> fileFactsOf(const std::filesystem::path& path);

// The local date and time now, "2026-12-07 09:14:05 +0100".
std::string localTimeNow();

}  // namespace ambersel::report
