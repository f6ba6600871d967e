#pragma once

// The report for the record as a PDF document for print: A4 pages laid out here, drawn through
// Qt's PDF writer. Needs the process's graphics session (a QGuiApplication).

#include <string>
#include <vector>

#include "report/list_record.h"

namespace ambersel::report {

// The document's bytes: a summary page when it holds several lists, then one page per list (more
// when its tables run long), each with the same texts as the HTML form. Every table cell keeps a
// gap wider than a space from the next, so that text taken from the page keeps them apart, and no
// ligature joins letters, so that a search finds every word. With a report time in UTC (from
// SOURCE_DATE_EPOCH) the document's creation date is that time, and the same records give the same
// bytes.
// With `lot`, the lot's picture and figures head the summary page of several lists.
std::string pdfReport(const ReportHeading& heading, const std::vector<ListRecord>& records,
                      const LotPage* lot = nullptr);

}  // namespace ambersel::report
