#pragma once

// The one way a report for the record is written to a file, as HTML or as PDF by the file's name.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "report/document.h"
#include "report/list_record.h"
#include "report/report_format.h"

namespace ambersel::report {

// What renders a document as PDF: its bytes, or nothing when it could not be made. Where none is
// given, a PDF report cannot be written.
using PdfRenderer = std::function<std::string(const Document&, const ReportHeading&)>;

// Writes `document` to `target` in the format its name asks for: replaced whole
// (files/output_file.h), or left as it was when anything fails. Returns why it could not be
// written, or nothing on success.
std::optional<std::string> writeReportFile(const std::filesystem::path& target,
                                           const Document& document, const ReportHeading& heading,
                                           const PdfRenderer& pdf);

}  // namespace ambersel::report
