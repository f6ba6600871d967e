#pragma once

// What --summary says of a production lot after the per-list lines, as text and as JSON, from the
// lot's data (evaluation/lot_summary.h).

#include <ostream>
#include <string>
#include <vector>

#include "evaluation/lot_summary.h"

namespace ambersel {

// The text block that follows the per-list lines, one line each, without line ends: "summary: 300
// lists, 291 passed, 9 failed, 0 unreadable", "  yield 97.00% (291 of 300 readable)", …
std::vector<std::string> lotSummaryLines(const LotSummary& summary);

// The same lines on one line, for a picture's description: each without its indent, joined by
// "; " (by a space after a line that ends in a colon).
std::string lotSummaryOneLine(const LotSummary& summary);

// The "summary" object of the JSON on one line, without a line end. Figures from logarithms are
// rounded to six decimals, whose last bits differ between platforms' C libraries.
void writeLotSummaryJson(std::ostream& out, const LotSummary& summary);

// "Lot of 300 lists".
std::string lotTitle(const LotSummary& summary);

}  // namespace ambersel
