#pragma once

// Opening and reading one list file by its path: the only place the program opens files.

#include <filesystem>
#include <system_error>

#include "evaluation/file_handle.h"
#include "evaluation/frequency_level_list.h"

namespace ambersel {

// Why a path gave no list file, beside the system's own reasons (errno values).
enum class ListFileError {
    NotARegularFile = 1,  // a directory, FIFO, socket or device
    NulInPath,            // the path holds a NUL character, which no file name can
    UnconvertiblePath,    // the path's text has no exact file-system form (a lone surrogate)
    InUse,                // Windows: another program holds the file open for writing, or locked it
};
const std::error_category& listFileErrorCategory() noexcept;
std::error_code make_error_code(ListFileError error) noexcept;

// Opens `path` for reading when it names a readable regular file (a symbolic link to one counts).
// Anything else is refused at once, without blocking and without reading from it: an empty or
// missing path, a directory, a FIFO, a device, a file without read permission, and on Windows a
// pipe and a file another program has open for writing or locked. The stream is binary, so a
// list reads alike everywhere. On refusal the handle is empty and `error` says why.
FileHandle openListFile(const std::filesystem::path& path, std::error_code& error);

// A whole list file as read: its points and why reading ended.
struct ListFileReading {
    std::error_code openError;  // set when the file did not open; then nothing was read
    FrequencyLevelList points;
    ReadingStop stop;

    bool opened() const noexcept { return !openError; }
};

// Opens, reads and closes the list file at `path`. The file is closed before this returns, on every
// path, exceptions included. A file whose size or modification time changed while it was read
// (written to, truncated, grown) ends with ReadingEnd::FileChanged, since its points may mix two
// versions; a file replaced by another under its name is read whole as it was when it was
// opened. Throws
// std::bad_alloc when memory runs out.
ListFileReading readListFile(const std::filesystem::path& path);

}  // namespace ambersel

template <>
struct std::is_error_code_enum<ambersel::ListFileError> : std::true_type {};
