#pragma once

// Writing the report for the record to a file, as HTML or as PDF. Needs the process's graphics
// session (a QGuiApplication) for PDF.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "report/list_record.h"
#include "report/report_format.h"

namespace ambersel::report {

// Writes the report to `target`: replaced whole (evaluation/output_file.h), or left as it was
// when anything fails. Returns why it could not be written, or nothing on success.
std::optional<std::string> writeReport(const std::filesystem::path& target, ReportFormat format,
                                       const ReportHeading& heading,
                                       const std::vector<ListRecord>& records);

}  // namespace ambersel::report
