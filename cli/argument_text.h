#pragma once

// File arguments as text and as file names. The evaluator handles every argument as bytes; on
// Windows, where file names are UTF-16, an argument's bytes are that name in generalized UTF-8
// (WTF-8): UTF-8 in which an unpaired surrogate, valid in a Windows file name, is written like any
// other code point. So every name converts to text and back exactly, and text prints as UTF-8.

#include <filesystem>
#include <optional>
#include <string>

#include "text/unicode_text.h"

namespace ambersel::cli {

// The file that the argument `argument` names: on Windows the UTF-16 name its text stands for, or
// nothing when it stands for none; elsewhere its bytes as they are.
std::optional<std::filesystem::path> pathOfArgument(const std::string& argument);

// The file that a name given on the command line stands for (a picture, a table). Such a name
// always stands for one: on Windows it came from the command line's UTF-16.
std::filesystem::path pathOfCommandLineName(const std::string& name);

// The argument that names `path`, as pathOfArgument() takes it: its bytes as text.
std::string argumentOfPath(const std::filesystem::path& path);

}  // namespace ambersel::cli
