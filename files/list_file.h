#pragma once

// Opening and reading one list file by its path: the only place the program opens files.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
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

// Which file an open list file is and what writing to it changes, as its descriptor tells them.
// Two stamps of one file are equal until it is written to, truncated or grown.
struct ListFileStamp {
    std::uint64_t volume = 0;  // the device or volume that holds the file
    std::uint64_t fileId = 0;  // the file's number on its volume
    std::int64_t size = -1;    // bytes; -1 where the system does not tell
    // The last write, in seconds and nanoseconds since 1970-01-01T00:00:00Z (seconds negative
    // before; nanoseconds 0 to 999999999).
    std::int64_t modifiedSeconds = 0;
    std::int32_t modifiedNanoseconds = 0;
    // The last change of the file or its metadata as the system counts it, in its own units: a
    // program that writes and then puts the modification time back cannot put this back.
    std::int64_t changeTicks = 0;

    bool operator==(const ListFileStamp&) const = default;
};

// A whole list file as read: its points and why reading ended.
struct ListFileReading {
    std::error_code openError;  // set when the file did not open; then nothing was read
    FrequencyLevelList points;
    ReadingStop stop;
    ListFileStamp stamp;  // the file as it was when it was opened
    // With a content sink: true when the sink took the file's bytes exactly as they were read.
    bool contentsTaken = false;

    bool opened() const noexcept { return !openError; }
};

// Opens, reads and closes the list file at `path`. Only a readable regular file (a symbolic link to
// one counts) is opened; anything else is refused at once, without blocking and without reading
// from it: an empty or missing path, a directory, a FIFO, a device, a file without read permission,
// and on Windows a pipe and a file another program has open for writing or locked; then
// `openError` says why. The file is read as binary, so a list reads alike everywhere. The file is
// closed before this returns, on every path, exceptions included. A file whose size or modification
// time changed while it was read (written to, truncated, grown) ends with ReadingEnd::FileChanged,
// since its points may mix two versions; a file replaced by another under its name is read whole as
// it was when it was opened. With `contents`, the sink takes the file's bytes, first to last, in
// the same reading that gives the points; contentsTaken says whether they are the whole file as it
// stood while it was read (false when it was written to meanwhile, or a read error cut them short:
// then the sink's bytes mean nothing). Throws std::bad_alloc when memory runs out.
ListFileReading readListFile(const std::filesystem::path& path,
                             const ContentSink* contents = nullptr);

// Gives `contents` the bytes of the list file at `path`, first to last, when it is still the file
// that `stamp` describes; true when it was and stayed so while it was read. False when the file is
// gone, another file took its name, or it was written to since the stamp: then the sink's bytes
// mean nothing. For facts of a list read earlier, through a descriptor of their own.
bool readStampedListFile(const std::filesystem::path& path, const ListFileStamp& stamp,
                         const ContentSink& contents);

}  // namespace ambersel

template <>
struct std::is_error_code_enum<ambersel::ListFileError> : std::true_type {};
