#pragma once

// The list of list files that --files-from names: one path per line, for lots larger than a
// command line holds.

#include <string>
#include <variant>
#include <vector>

namespace ambersel::cli {

// The paths in `text`, one per line, in order. A line ends at LF; a CR before it belongs to the
// line end, so a list written on Windows reads the same. Empty lines are skipped. A path is taken
// byte for byte otherwise: spaces are part of it.
std::vector<std::string> pathsOfFileList(const std::string& text);

// The paths in the file `argument` names ("-": standard input, read to its end), or why it could
// not be read. A FIFO or a process substitution reads as well as a regular file.
std::variant<std::vector<std::string>, std::string> readFileList(const std::string& argument);

}  // namespace ambersel::cli
