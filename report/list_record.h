#pragma once

// Everything a report for the record says of one list: the verdict and where it comes from, tied
// to the exact file that was read.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "evaluation/figure_analysis.h"
#include "evaluation/frequency_level_list.h"
#include "evaluation/test_figure.h"
#include "plot/canvas/canvas.h"
#include "plot/layout/chart.h"
#include "plot/layout/chart_layout.h"
#include "report/file_facts.h"
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

// The record of one evaluated list: its verdict, margin, ten largest contributors and its part in
// F by band, between `bandEdges` or, when they are empty, over the decades the list spans.
ListRecord recordOf(std::string name, const FrequencyLevelList& points, const ReadingStop& stop,
                    const std::vector<double>& bandEdges);

// What heads the summary page of a report of a production lot: the lot's picture and the figures
// that the lot's summary gives as text.
struct LotPage {
    plot::Size pictureSize;
    std::function<void(plot::Canvas&)> drawPicture;  // draws on a canvas of pictureSize
    std::string pictureTitle;
    std::vector<std::string> figures;  // lines of text, without line ends
};

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
