#pragma once

// File arguments as text and as file names. The evaluator handles every argument as bytes; on
// Windows, where file names are UTF-16, an argument's bytes are that name in generalized UTF-8
// (WTF-8): UTF-8 in which an unpaired surrogate, valid in a Windows file name, is written like any
// other code point. So every name converts to text and back exactly, and text prints as UTF-8.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ambersel::cli {

// `units` in generalized UTF-8.
std::string generalizedUtf8FromUtf16(std::u16string_view units);

// The UTF-16 units that `text`, generalized UTF-8, stands for; nothing when it is not such text
// (a byte that starts no sequence, a cut or overlong sequence, a surrogate pair written as two
// surrogates, a code point beyond U+10FFFF).
std::optional<std::u16string> utf16FromGeneralizedUtf8(std::string_view text);

// The file that the argument `argument` names: on Windows the UTF-16 name its text stands for, or
// nothing when it stands for none; elsewhere its bytes as they are.
std::optional<std::filesystem::path> pathOfArgument(const std::string& argument);

}  // namespace ambersel::cli
