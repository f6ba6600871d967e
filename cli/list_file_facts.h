#pragma once

// The facts of the file a list was read from, for the lot's table and its time axis.

#include <cstdint>
#include <optional>
#include <string_view>

#include "cli/file_evaluation.h"
#include "report/list_record.h"

namespace ambersel::cli {

// The size, modification time and SHA-256 of the file `evaluation` read; nothing for standard
// input, a file that gave no verdict, or a file that can no longer be read.
std::optional<report::FileFacts> listFileFacts(const FileEvaluation& evaluation);

// A modification time as FileFacts holds it, in the form ISO 8601 gives a UTC time,
// "2026-12-07T05:45:55Z"; the text as it is when it is in neither form.
std::string isoTimeOf(std::string_view modified);

// Seconds since 1970-01-01 00:00:00 UTC of a time as FileFacts or isoTimeOf write it; nothing when
// it is in neither form.
std::optional<std::int64_t> secondsOfTime(std::string_view modified);

}  // namespace ambersel::cli
