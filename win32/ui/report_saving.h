#pragma once

// The report for the record of one list, as the Details window saves it: HTML, standing alone.

#include <optional>
#include <string>

#include "report/list_record.h"

// "emission_150k_30M.html" for a list at "C:\Lists\emission_150k_30M.ASC": the name the Save
// dialog proposes.
std::wstring reportNameFor(const std::string& listName);

// Writes the report to `target`, replaced whole (evaluation/output_file.h) or left as it was.
// Returns why it could not be written, or nothing on success.
std::optional<std::string> saveHtmlReport(const std::wstring& target,
                                          const ambersel::report::ReportHeading& heading,
                                          const ambersel::report::ListRecord& record);
