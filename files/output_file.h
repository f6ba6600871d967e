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
#include <variant>

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

// A file being replaced, written piece by piece (a lot's table, row after row): the pieces go to a
// new file of a fresh name in the target's folder, and commit() flushes it to the disk and renames
// it over the target, so that a reader, or the disk after a crash, finds the old file or the new
// one and never half of one. Until then the target stays as it was; a replacement that is not
// committed, or whose commit fails, removes its new file when it goes. A symbolic link is
// followed, so that the file it names is replaced and the link stays; an existing file keeps its
// permissions. A device or a FIFO (/dev/null, /dev/stdout) cannot be replaced: it is written to
// as it is.
class FileReplacement {
  public:
    // Starts replacing `target`. The new file is made at once, so that a target that cannot be
    // written is known before anything is computed for it; why it cannot be, when it cannot.
    static std::variant<FileReplacement, std::error_code> begin(
        const std::filesystem::path& target);

    FileReplacement(FileReplacement&& other) noexcept;
    FileReplacement& operator=(FileReplacement&&) = delete;
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();

    // Appends `bytes`. The first failure is kept for commit(); what comes after it is dropped.
    void write(std::string_view bytes);
    // Puts the new file in place of the target; why it could not be, or nothing. Once only.
    std::error_code commit();

  private:
    FileReplacement() = default;
    std::error_code writeAll(std::string_view bytes) const;

    std::filesystem::path m_target;  // the target, or the file its link names
    std::filesystem::path m_new;     // written, then renamed over m_target
    int m_fd = -1;
    // Pieces go to the system in large blocks: a row at a time would cost a system call each.
    std::string m_pending;
    std::error_code m_error;
    bool m_created = false;  // never remove a file of that name that someone else made
    bool m_stream = false;   // a device or FIFO, written to as it is
};

// Replaces the file `target` with `bytes`, whole or not at all, as a FileReplacement does. Returns
// why the file could not be replaced, or nothing on success.
std::error_code replaceFile(const std::filesystem::path& target, std::string_view bytes);

}  // namespace ambersel
