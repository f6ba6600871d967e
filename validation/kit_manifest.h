#pragma once

// The validation kit: reference lists, and the result expected of each to the bit, recorded in one
// manifest beside them. A lab evaluates the lists with the installed program and compares.
//
// The manifest, expected.tsv, is UTF-8 text: lines starting with '#' are comments, every other line
// is one case, its fields separated by tabs:
//   case  file  sha256  point_count  stop  stop_line  figure_bits  line
// `file` is the list's path inside the kit, with '/' between folders; `stop` is "end_of_file" or
// "malformed_item"; `stop_line` the line of the malformed item, 0 otherwise; `figure_bits` F's
// single-precision bits as "0x3DF7E5F5"; `line` the result line.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "evaluation/frequency_level_list.h"

namespace ambersel::validation {

// The name of the manifest inside a kit folder.
inline constexpr std::string_view kManifestName = "expected.tsv";

// What evaluating a list gives, in the terms the kit records.
struct ListOutcome {
    std::uint64_t pointCount = 0;
    ReadingEnd stop = ReadingEnd::EndOfFile;
    std::uint64_t stopLine = 0;
    std::uint32_t figureBits = 0;
    std::string line;

    bool operator==(const ListOutcome&) const = default;
};

struct KitCase {
    std::string name;
    std::string file;
    std::string sha256;  // of the list's bytes, 64 lower-case hexadecimal digits
    ListOutcome expected;
};

// The cases of the kit in `folder`, in the manifest's order, or why the manifest cannot be read.
std::variant<std::vector<KitCase>, std::string> readKitManifest(
    const std::filesystem::path& folder);

// Writes `cases` as the manifest, after `comment` (lines without their '#').
void writeKitManifest(std::ostream& out, std::string_view comment,
                      const std::vector<KitCase>& cases);

}  // namespace ambersel::validation
