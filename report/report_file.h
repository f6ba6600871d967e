#pragma once

// The one way a report for the record is written to a file, as HTML or as PDF by the file's name.

#include <filesystem>
#include <optional>
#include <string>

#include "report/document.h"
#include "report/list_record.h"
#include "report/report_format.h"

namespace ambersel::report {

// Writes `document` to `target` in the format its name asks for, HTML or PDF (report/pdf_report.h):
// replaced whole (files/output_file.h), or left as it was when anything fails, an attached list
// that changed since it was evaluated included. Returns why it could not be written, or nothing
// on success.
std::optional<std::string> writeReportFile(const std::filesystem::path& target,
                                           const Document& document, const ReportHeading& heading);

}  // namespace ambersel::report
