#pragma once

// One list file as the evaluator reports it: its points, where reading stopped, its verdict, and
// the points that weigh most in its figure.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "evaluation/figure_analysis.h"
#include "evaluation/frequency_level_list.h"
#include "evaluation/test_figure.h"
#include "report/file_facts.h"

namespace ambersel::cli {

enum class FileStatus { Pass, Fail, Error };

struct FileEvaluation {
    // The FILE argument as given; "-" stands for standard input.
    std::string argument;
    FileStatus status = FileStatus::Error;
    // False when the file did not open: then nothing was read.
    bool opened = false;
    // For Error: why the file gave no verdict ("No such file or directory", "read error", "the
    // file changed while it was read").
    std::string errorReason;
    FrequencyLevelList points;
    ReadingStop stop;
    // Meaningful unless status is Error.
    TestVerdict verdict;
    // When they were asked for: the file's facts from the bytes that were evaluated, or, when the
    // file was written to after it was read, none and factsWithheld.
    std::optional<report::FileFacts> facts;
    bool factsWithheld = false;

    bool isStandardInput() const { return argument == "-"; }
    // True when reading ended before the end of the file, or the file gave no point at all.
    bool deservesWarning() const;
};

// "PASS", "FAIL" or "ERROR", as the JSON and the lot's table name a verdict.
const char* verdictName(FileStatus status);

// "end_of_file", "malformed_item", "read_error" or "file_changed", as the JSON and the lot's table
// say where reading stopped.
const char* stopReasonName(ReadingEnd end);

// Whether an evaluation takes the file's facts for a record, which costs a second reading.
enum class FileFactsWanted { No, Yes };

// Reads and evaluates the list named by `argument`: a path taken byte for byte, or "-" for
// standard input. A file that cannot be opened, or whose reading fails, is status Error.
// Throws std::bad_alloc when memory runs out.
FileEvaluation evaluateListFile(const std::string& argument,
                                FileFactsWanted factsWanted = FileFactsWanted::No);

}  // namespace ambersel::cli
