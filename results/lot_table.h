#pragma once

// The lot's table for spreadsheets (--table FILE.csv): one row per list, RFC 4180 CSV (fields
// with a comma, a quote or a line break in double quotes, quotes doubled, CR LF after each row).

#include <string>

#include "evaluation/evaluated_list.h"

namespace ambersel {

// The header row, with its line end.
std::string lotTableHeader();

// The row of one list, with its line end: path, verdict, line, F, F's bits, margin (dB to 0.01),
// points, where reading stopped and its line, the file's size, modification time (ISO 8601, UTC)
// and SHA-256 when the evaluation took them, and why the list gave no verdict. Fields that do not
// apply are empty; a file written to after it was read has no facts, and says so under error.
std::string lotTableRow(const EvaluatedList& list);

}  // namespace ambersel
