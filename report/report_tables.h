#pragma once

// The report's tables as plain text, cell by cell, so that its HTML and PDF forms say exactly the
// same: the forms only escape, place and style them.

#include <string>
#include <vector>

#include "report/list_record.h"

namespace ambersel::report {

struct ReportTable {
    std::vector<std::string> heads;  // none for a table of labelled facts
    std::vector<std::vector<std::string>> rows;
    // Columns from this one on hold numbers, set flush right.
    std::size_t firstNumberColumn = 0;
};

// The label of the row that holds the file's SHA-256, set in a fixed-width face.
inline constexpr const char* kSha256Label = "SHA-256";

// The list's facts, one labelled row each: F, margin, points, where reading stopped, the file and
// its facts (or why there are none), program and evaluation time.
ReportTable factTable(const ReportHeading& heading, const ListRecord& record);
// The ten largest contributors and the bands, with their shares of F.
ReportTable contributorTable(const ListRecord& record);
ReportTable bandTable(const ListRecord& record);
// One row for each list: its name, result line, margin and point count.
ReportTable summaryTable(const std::vector<ListRecord>& records);

}  // namespace ambersel::report
