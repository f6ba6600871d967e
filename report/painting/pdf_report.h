#pragma once

// The report for the record as a PDF document for print: A4 pages laid out here, drawn through
// Qt's PDF writer. Needs the process's graphics session (a QGuiApplication).

#include <string>
#include <vector>

#include "report/document.h"
#include "report/list_record.h"

namespace ambersel::report {

// The document's bytes: each section on pages of its own (more when its tables run long), with
// the same texts as the HTML form. Every table cell keeps a
// gap wider than a space from the next, so that text taken from the page keeps them apart, and no
// ligature joins letters, so that a search finds every word. With a report time in UTC (from
// SOURCE_DATE_EPOCH) the document's creation date is that time, and the same records give the same
// bytes.
std::string pdfReport(const Document& document, const ReportHeading& heading);

}  // namespace ambersel::report
