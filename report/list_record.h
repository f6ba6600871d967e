#pragma once

// Everything a report for the record says of one list: the verdict and where it comes from, tied
// to the exact file that was read.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "evaluation/figure_analysis.h"
#include "evaluation/frequency_level_list.h"
#include "evaluation/test_figure.h"

namespace ambersel::report {

// The file a list was read from, as it was when it was evaluated.
struct FileFacts {
    std::uintmax_t size = 0;  // bytes
    std::string modified;     // modification time, "2026-12-07 09:14:03 UTC"
    std::string sha256;       // 64 lower-case hexadecimal digits
};

struct ListRecord {
    std::string name;               // the list's path as given (UTF-8), or "standard input"
    std::optional<FileFacts> file;  // nothing for standard input
    TestVerdict verdict;
    std::string resultLine;  // "PASS : F = 0.1210"
    std::optional<double> margin;
    std::size_t pointCount = 0;
    ReadingStop stop;
    std::vector<RankedPoint> heaviest;  // the ten largest contributors
    std::vector<BandShare> bands;
    std::string picturePng;  // the list's picture, PNG bytes; empty when there is none
};

// The record of one evaluated list: its verdict, margin, ten largest contributors and its part in
// F by band, between `bandEdges` or, when they are empty, over the decades the list spans.
ListRecord recordOf(std::string name, const FrequencyLevelList& points, const ReadingStop& stop,
                    const std::vector<double>& bandEdges);

// What a report says once, whatever lists it holds.
struct ReportHeading {
    std::string programVersion;  // "1.0.0"
    std::string evaluatedAt;     // "2026-12-07 09:14:05 +0100"
};

// "end of file", "line 3: 'End of scan'", "read error", "the file changed while it was read".
std::string stopText(const ReadingStop& stop);

}  // namespace ambersel::report
