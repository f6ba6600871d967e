#pragma once

// Everything a report for the record says of one list: the verdict and where it comes from, tied
// to the exact file that was read. One function makes it, for the command line and both dialogs.

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "evaluation/evaluated_list.h"
#include "plot/layout/chart.h"
#include "plot/layout/chart_layout.h"
#include "report/report_time.h"

namespace ambersel::report {

// A list's picture as a record keeps it: laid out, and without the points, which the layout has
// placed, so that a record of a long list stays small. Drawn as SVG into HTML, through Qt onto PDF
// pages and screens.
struct RecordPicture {
    plot::Chart chart;  // headings, names and bands; no points
    plot::ChartLayout layout;
};

// `chart` laid out for a record.
RecordPicture recordPicture(plot::Chart chart);

struct ListRecord {
    std::string name;  // the list's path as given (UTF-8), or "standard input"
    // The file's facts, from the very bytes that were evaluated: nothing for standard input, and
    // nothing when the file was written to after it was read (then fileWrittenAfterReading).
    std::optional<FileFacts> file;
    bool fileWrittenAfterReading = false;
    TestVerdict verdict;
    std::string resultLine;  // "PASS : F = 0.1210"
    std::optional<double> margin;
    std::size_t pointCount = 0;
    ReadingStop stop;
    std::vector<RankedPoint> heaviest;  // the ten largest contributors
    std::vector<BandShare> bands;
    std::optional<RecordPicture> picture;
};

// The record of `list`, a list with a verdict analysed within recordScope(): its verdict, margin,
// largest contributors, its part in F by band, its picture and its file's facts.
ListRecord recordOf(const EvaluatedList& list);

// The file name at the end of the list's name, as a picture names the list: after the last '/'
// (and on Windows '\' or ':'); "standard input" for "-".
std::string listFileName(const EvaluatedList& list);

// What a report says once, whatever lists it holds.
struct ReportHeading {
    std::string programVersion;  // "1.0.0"
    EvaluationTime evaluatedAt;  // the file's modification time is given in its zone too
};

// The heading of a report of lists that `programVersion` evaluates now, timed by
// evaluationTimeNow(); or why SOURCE_DATE_EPOCH names no time.
std::variant<ReportHeading, std::string> reportHeadingNow(std::string programVersion);

// "end of file", "line 3: 'End of scan'", "read error", "the file changed while it was read".
std::string stopText(const ReadingStop& stop);

}  // namespace ambersel::report
