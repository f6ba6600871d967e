#pragma once

// One list as a run evaluated it: its name, whether it gave a verdict or why not, its analysis,
// and the facts of the file it was read from. The file layer makes it (files/list_reading.h);
// every output of the list reads it.

#include <cstdint>
#include <optional>
#include <string>

#include "evaluation/list_analysis.h"

namespace ambersel {

enum class ListStatus { Pass, Fail, Error };

// What a record says of the file a list was read from, taken from the very bytes that were
// evaluated.
struct FileFacts {
    std::uint64_t size = 0;            // bytes
    std::int64_t modifiedSeconds = 0;  // last write, seconds since 1970-01-01T00:00:00Z
    std::string sha256;                // 64 lower-case hexadecimal digits
};

struct EvaluatedList {
    // The list as it was named: a path's bytes (UTF-8 where the system names files in UTF-16),
    // "-" for standard input.
    std::string name;
    ListStatus status = ListStatus::Error;
    // False when the file did not open: then nothing was read.
    bool opened = false;
    // For Error: why the list gave no verdict ("No such file or directory", "read error", "the
    // file changed while it was read").
    std::string errorReason;
    // The points read and where reading stopped, whatever the status; the rest only with a
    // verdict.
    ListAnalysis analysis;
    // When they were asked for: the file's facts, or, when the file was written to after it was
    // read, none and factsWithheld.
    std::optional<FileFacts> facts;
    bool factsWithheld = false;

    bool isStandardInput() const { return name == "-"; }
    bool hasVerdict() const { return status != ListStatus::Error; }
    // True when reading ended before the end of the file, or the file gave no point at all.
    bool deservesWarning() const {
        return hasVerdict() &&
               (analysis.stop.end == ReadingEnd::MalformedItem || analysis.points.empty());
    }
};

// "PASS", "FAIL" or "ERROR", as the JSON and the lot's table name a verdict.
const char* verdictName(ListStatus status);

// "end_of_file", "malformed_item", "read_error" or "file_changed", as the JSON and the lot's table
// say where reading stopped.
const char* stopReasonName(ReadingEnd end);

// The list named `name` whose reading ended at `stop` with `points`: analysed within `scope` when
// the reading gives a verdict, or an error when it ended on a read error or a change of the file,
// since half a list read is no list and a verdict on it could pass a failing file.
EvaluatedList evaluatedList(std::string name, FrequencyLevelList points, ReadingStop stop,
                            const AnalysisScope& scope);

// For unattended runs, which must not take a truncated or foreign file for a pass: a list that
// deservesWarning() made an error, with the reason ("the list holds no points", "reading stopped
// at line 3, before the end of the file"). Its points and where reading stopped stay.
void refuseIncompleteList(EvaluatedList& list);

}  // namespace ambersel
