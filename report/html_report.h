#pragma once

// The report for the record as HTML: a summary table when it holds several lists, then one page
// per list.

#include <string>
#include <vector>

#include "report/list_record.h"

namespace ambersel::report {

// The whole document, standing alone: each picture inline as SVG (the same bytes on every
// platform), no script and no outside resource. Text from the lists (names, excerpts) is escaped;
// each list starts a new printed page, and its page fits on one A4 sheet.
// With `lot`, the lot's picture and figures head the summary page of several lists.
std::string reportHtml(const ReportHeading& heading, const std::vector<ListRecord>& records,
                       const LotPage* lot = nullptr);

}  // namespace ambersel::report
