#pragma once

// The evaluator's JSON output: one array with one object per file, each object on its own line.

#include <cstddef>
#include <ostream>
#include <vector>

#include "cli/file_evaluation.h"

namespace ambersel::cli {

struct JsonContent {
    bool pointTable = false;   // add "points": every point with every intermediate
    std::size_t heaviest = 0;  // add "top": this many heaviest points
    // "bands" are between these edges in Hz; empty: over the decades the list spans.
    std::vector<double> bandEdges;
};

// Writes the file's object on one line, without a line end. Text that is not valid UTF-8 (a path,
// the excerpt where reading stopped) has each bad byte replaced by U+FFFD. F is written exactly:
// "figure" is the shortest decimal that reads back to the same float, or null when F is not
// finite; "figure_text" is that decimal or "inf", "-inf", "nan", "-nan"; "figure_bits" is F's bits.
void writeJsonObject(std::ostream& out, const FileEvaluation& evaluation,
                     const JsonContent& content);

}  // namespace ambersel::cli
