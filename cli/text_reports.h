#pragma once

// The evaluator's text output: result lines, warnings and errors, the per-point table and the list
// of the heaviest points.

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/file_evaluation.h"

namespace ambersel::cli {

// The path as it is printed in a line: control bytes and backslashes escaped, so that no file name
// can break a line or forge one.
std::string printablePath(const FileEvaluation& evaluation);

// The file's line on standard output. Without the path: exactly the dialog's line, "PASS : F =
// 0.1210", and an empty text for a file without a verdict. With the path: that line, a tab and the
// path; "ERROR", a tab and the path for a file without a verdict.
std::string resultLine(const FileEvaluation& evaluation, bool withPath);

// "Error in the input file: PATH (why)", for a file without a verdict.
std::string errorMessage(const FileEvaluation& evaluation);

// "PATH: read 2 points; stopped at line 3: 'end'", or "PATH: read 0 points; the file holds no
// items", for a file that deservesWarning().
std::string readingWarning(const FileEvaluation& evaluation);

// `text` as one CSV field: as it is, or in double quotes, with each quote doubled, when it holds a
// comma, a quote or a line end.
std::string csvField(std::string_view text);

// The per-point table as CSV: a header row, then one row per point of each file with every
// intermediate of the figure, computed by the figure's own code so that the last running F of a
// file is its F to the bit.
void writePointTableHeader(std::ostream& out);
void writePointTableRows(std::ostream& out, const FileEvaluation& evaluation);

// One line per heavy point after the file's result line, each indented by two spaces:
// "  1. point 412: 2100000 Hz, 96.3 dBµV, term 0.0123457, 12.3% of F".
void writeHeaviestPoints(std::ostream& out, const FileEvaluation& evaluation, std::size_t count);

// The line that heads the --top list: "  margin -0.99 dB: every level must come down by 0.99 dB".
void writeMarginLine(std::ostream& out, const FileEvaluation& evaluation);

// One line per band of the file, between `edges` in Hz or, when they are empty, over the decades
// the list spans: "  band 100 kHz - 1 MHz: 215 points, 87.81% of F, margin without it +58.99 dB".
void writeBands(std::ostream& out, const FileEvaluation& evaluation,
                const std::vector<double>& edges);

}  // namespace ambersel::cli
