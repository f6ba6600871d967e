#pragma once

// The report for the record as an archival PDF (PDF/A-3, level B), written by the program's own
// PDF writer (plot/pdf/document.h) on every platform: A4 pages laid out from the document
// (report/page_layout.h), the report's identification and "Page n of m" on every page, "End of
// report" after the last section, and each section's files attached as its evidence.

#include "plot/pdf/object_writer.h"
#include "report/document.h"
#include "report/list_record.h"

namespace ambersel::report {

// Writes the report of `document` to `sink`, front to back. Dated by the evaluation time in
// `heading`, never by a clock, so that the same document and heading give the same bytes on every
// platform. Throws std::runtime_error, saying why, when an attached file can no longer be given;
// the bytes written are then no document.
void writePdfReport(const plot::pdf::ByteSink& sink, const Document& document,
                    const ReportHeading& heading);

}  // namespace ambersel::report
