#pragma once

// The JSON object of one list, as `ambersel-eval --json` writes it and the C library gives it.

#include <cstddef>
#include <ostream>
#include "evaluation/evaluated_list.h"

namespace ambersel {

// What the object holds beyond its fixed members ("bands" are the analysis' own).
struct JsonContent {
    bool pointTable = false;   // add "points": every point with every intermediate
    std::size_t heaviest = 0;  // add "top": this many heaviest points (the analysis has as many)
};

// Writes the list's object on one line, without a line end, member by member through the JSON
// library's own serialiser: a list of millions of points is never held as one JSON tree. Text that
// is not valid UTF-8 (a path, the excerpt where reading stopped) has each bad byte replaced by
// U+FFFD. F is written exactly: "figure" is the shortest decimal that reads back to the same float,
// or null when F is not finite; "figure_text" is that decimal or "inf", "-inf", "nan", "-nan";
// "figure_bits" is F's bits.
void writeJsonObject(std::ostream& out, const EvaluatedList& list, const JsonContent& content);

}  // namespace ambersel
