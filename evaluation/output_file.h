#pragma once

// The files the program writes (pictures, reports): the format a file's name asks for, and the one
// way every such file is written, replaced whole.

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace ambersel {

// The extension of `target` with its ASCII letters in lower case (".svg"); empty when it has none.
std::string lowerCaseExtension(const std::filesystem::path& target);

// The format of `formats` whose extension (".svg", in lower case) `target` ends in, in any letter
// case; nothing when it ends in none of them.
template <typename Format>
std::optional<Format> formatOfName(
    const std::filesystem::path& target,
    std::initializer_list<std::pair<std::string_view, Format>> formats) {
    const std::string extension = lowerCaseExtension(target);
    for (const auto& [name, format] : formats) {
        if (extension == name) {
            return format;
        }
    }
    return std::nullopt;
}

// Replaces the file `target` with `bytes`, whole or not at all: they go to a new file of a fresh
// name in the same folder, are flushed to the disk and are then renamed over `target`, so that a
// reader, or the disk after a crash, holds the old file or the new one and never half of one.
// When anything fails, `target` is left as it was and the new file is removed. A symbolic link is
// followed, so that the file it names is replaced and the link stays; an existing file keeps its
// permissions. Returns why the file could not be replaced, or nothing on success.
std::error_code replaceFile(const std::filesystem::path& target, std::string_view bytes);

}  // namespace ambersel
