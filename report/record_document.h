#pragma once

// The report for the record as a document (report/document.h): a summary section when it holds
// several lists, then one section per list. Its HTML and PDF forms, and the dialogs' Details, say
// exactly what these tables say.

#include <string>
#include <vector>

#include "report/document.h"
#include "report/list_record.h"

namespace ambersel::report {

// The list's facts, one labelled row each: F, margin, points, where reading stopped, the file and
// its facts (or why there are none), program and evaluation time.
Table factTable(const ReportHeading& heading, const ListRecord& record);
// The ten largest contributors and the bands, with their shares of F.
Table contributorTable(const ListRecord& record);
Table bandTable(const ListRecord& record);

// A list's row of the summary table: its name, result line, margin and point count.
std::vector<Cell> summaryRow(const ListRecord& record);

// The section of one list: its name, result line, facts, picture, contributors and bands. Its
// picture's id is given when the document is put together.
Section listSection(const ReportHeading& heading, const ListRecord& record);

// The lot's picture and the lines of its figures, which head the summary of a report of a lot.
struct LotPicture {
    Picture picture;
    std::vector<std::string> figures;  // lines of text, without line ends
};

// The report of the lists whose sections and summary rows are given, in order: with several, the
// summary first (led by `lot` when given), each list then on a page of its own. Pictures take
// their ids here: "list0", "list1", … in order, and "lot".
Document reportDocument(std::vector<Section> lists, std::vector<std::vector<Cell>> summaryRows,
                        const LotPicture* lot = nullptr);

// The report of `records` alone, as a dialog saves one.
Document reportDocument(const ReportHeading& heading, const std::vector<ListRecord>& records);

}  // namespace ambersel::report
