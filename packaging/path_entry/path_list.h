#pragma once

// The entries of a PATH variable as the registry holds it (unexpanded, separated by ';'), and the
// one folder the installer adds to it and takes out of it again. Entries are compared as Windows
// compares file names (case-insensitively), with surrounding quotes and trailing backslashes left
// out; every other entry, empty ones and variables such as %SystemRoot% included, is kept as it is.

#include <optional>
#include <string>
#include <string_view>

namespace ambersel::packaging {

// The PATH with `folder` appended as its last entry; nothing when it is an entry already.
std::optional<std::wstring> pathWithFolder(std::wstring_view path, std::wstring_view folder);

// The PATH without any entry that names `folder`; nothing when none does.
std::optional<std::wstring> pathWithoutFolder(std::wstring_view path, std::wstring_view folder);

}  // namespace ambersel::packaging
