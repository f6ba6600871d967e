#pragma once

// The names of the reports for the record that --report writes: one file for each list when the
// name holds {name}, else one report of every list, with a summary first.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ambersel::cli {

// The format a report file's extension asks for: ".pdf", ".html" or ".htm" in any letter case.
bool isReportName(const std::string& pattern);

// Why `pattern` does not do as the report name for `files`, or nothing when it does: it must end in
// .pdf, .html or .htm, and with {name} no two files may go to the same report. A report also needs
// a SOURCE_DATE_EPOCH that names a time, when the environment sets one.
std::optional<std::string> reportNameProblem(const std::string& pattern,
                                             const std::vector<std::string>& files);

}  // namespace ambersel::cli
