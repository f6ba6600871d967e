#pragma once

// The facts a record gives of the file a list was read from, taken from the very bytes that were
// evaluated: through the descriptor that read them, or, later, through one that finds the file
// still as it was read.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "evaluation/list_file.h"

namespace ambersel::report {

struct FileFacts {
    std::uint64_t size = 0;            // bytes
    std::int64_t modifiedSeconds = 0;  // last write, seconds since 1970-01-01T00:00:00Z
    std::string sha256;                // 64 lower-case hexadecimal digits
};

// A list file read as readListFile() reads it, with its facts taken right after through the same
// descriptor. `facts` is empty when the list was not read whole or the file was written to after it
// was read.
struct ListFileWithFacts {
    ListFileReading reading;
    std::optional<FileFacts> facts;
};
ListFileWithFacts readListFileWithFacts(const std::filesystem::path& path);

// The facts of the list file at `path`, read earlier as `stamp` (the dialog's Details, long after
// Calculate); nothing when it is gone or was written to since.
std::optional<FileFacts> factsOfReadFile(const std::filesystem::path& path,
                                         const ListFileStamp& stamp);

}  // namespace ambersel::report
