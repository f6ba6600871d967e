#pragma once

// The report for the record of one list, as the Details window saves it: HTML, standing alone.

#include <optional>
#include <string>

#include "report/list_record.h"

// The file the Save dialog proposes for the report of the list at `listName` (UTF-8): in the
// user's Documents folder, named by report::proposedReportName,
// "C:\Users\…\Documents\emission_150k_30M-report.html" for "C:\Lists\emission_150k_30M.ASC".
// Lists often lie where the user may not write (the bundled examples under Program Files), and
// the Documents folder is where the user looks for what a program saved. Only the name, where the
// user has no Documents folder.
std::wstring proposedReportPath(const std::string& listName);

// Writes the report to `target`, replaced whole (evaluation/output_file.h) or left as it was.
// Returns why it could not be written, or nothing on success.
std::optional<std::string> saveHtmlReport(const std::wstring& target,
                                          const ambersel::report::ReportHeading& heading,
                                          const ambersel::report::ListRecord& record);
