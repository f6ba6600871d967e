#pragma once

// A list's lines of text, as the evaluator writes them: result lines, warnings and errors, the
// per-point table, the heaviest points and the bands.

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "evaluation/evaluated_list.h"

namespace ambersel {

// The path as it is printed in a line: control bytes and backslashes escaped, so that no file name
// can break a line or forge one.
std::string printablePath(const EvaluatedList& list);

// The file's line on standard output. Without the path: exactly the dialog's line, "PASS : F =
// 0.1210", and an empty text for a file without a verdict. With the path: that line, a tab and the
// path; "ERROR", a tab and the path for a file without a verdict.
std::string resultLine(const EvaluatedList& list, bool withPath);

// "Error in the input file: PATH (why)", for a file without a verdict.
std::string errorMessage(const EvaluatedList& list);

// "PATH: read 2 points; stopped at line 3: 'end'", or "PATH: read 0 points; the file holds no
// items", for a file that deservesWarning().
std::string readingWarning(const EvaluatedList& list);

// The per-point table as CSV: a header row, then one row per point of each file with every
// intermediate of the figure, computed by the figure's own code so that the last running F of a
// file is its F to the bit.
void writePointTableHeader(std::ostream& out);
void writePointTableRows(std::ostream& out, const EvaluatedList& list);

// One line per heavy point after the file's result line, each indented by two spaces:
// "  1. point 412: 2100000 Hz, 96.3 dBµV, term 0.0123457, 12.3% of F".
void writeHeaviestPoints(std::ostream& out, const EvaluatedList& list, std::size_t count);

// The line that heads the --top list: "  margin -0.99 dB: every level must come down by 0.99 dB".
void writeMarginLine(std::ostream& out, const EvaluatedList& list);

// One line per band of the list's analysis: "  band 100 kHz - 1 MHz: 215 points, 87.81% of F,
// margin without it +58.99 dB".
void writeBands(std::ostream& out, const EvaluatedList& list);

}  // namespace ambersel
