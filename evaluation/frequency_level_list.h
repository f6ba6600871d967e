#pragma once

// The frequency-level list: the measured points of one list file, and the reader that turns the
// file's text into them.
//
// A list file is a stream of items "frequency,level" separated by white space. Each number is read
// exactly as the C library's "%f" conversion reads it in the "C" locale, whatever the process
// locale: an optional sign, digits with an optional decimal point (digits may be missing on one
// side of it, not both), an optional exponent; also "inf", "infinity", "nan" and hexadecimal
// numbers ("0x1.8p3"), which the C library accepts too. The comma must follow the first number
// directly; white space, line ends included, may stand before either number and between items.
// Reading ends quietly at the first item that does not give two numbers.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace ambersel {

// One measured point, exactly as parsed: frequency then level, nothing else (8 bytes).
struct FrequencyLevelPoint {
    float frequency = 0.0F;
    float level = 0.0F;
};

// The points of one list file, in file order; nothing is sorted, merged or removed.
using FrequencyLevelList = std::vector<FrequencyLevelPoint>;

// Why reading a list ended.
enum class ReadingEnd {
    EndOfFile,      // every item of the file was read
    MalformedItem,  // an item did not give two numbers; it and everything after it were not read
    ReadError,      // the system reported an error while reading; the list holds what came
                    // before
    FileChanged,    // readListFile() only: the file was written to while it was read, so the
                    // list may mix two versions of it
};

// Where and why reading a list ended, beside the points it read.
struct ReadingStop {
    ReadingEnd end = ReadingEnd::EndOfFile;
    // For MalformedItem: the 1-based line on which the item that ended the list begins, and the
    // start of its text (at most kExcerptLength bytes, up to the end of that line).
    std::uint64_t line = 0;
    std::string excerpt;

    static constexpr std::size_t kExcerptLength = 40;

    bool operator==(const ReadingStop&) const = default;
};

// Takes a list file's bytes in order, a piece at a time.
using ContentSink = std::function<void(std::span<const unsigned char>)>;

// How to read a list; the defaults suit any stream.
struct ReadingOptions {
    // Bytes read from the stream at a time; tests choose small ones so that items run across
    // buffer fills.
    std::size_t bufferSize = std::size_t{64} * 1024;
    // The size of the file in bytes when the caller knows it, 0 otherwise. Only lets the list
    // grow in one step to the size the file's first items promise, instead of copying itself
    // from one doubled block to the next.
    std::uint64_t fileSize = 0;
    // When set, takes every byte of the stream, first to last, as it is read: the reading goes on
    // past a malformed item to the end of the stream (or to `fileSize` bytes, when that is known)
    // for it alone, so that a record hashes the bytes that were evaluated without reading them a
    // second time. After a read error it has taken only what came before.
    const ContentSink* contents = nullptr;
};

// Reads every item of `file`, an open stream positioned where the list begins, appending one point
// per item to `list`. Stops at the end of the file, at the first malformed item, or at a read
// error; the caller tells them apart through the returned stop. Does not close the file. The
// file's text is streamed through a fixed buffer and never held whole; one number costs constant
// memory however many digits it has. Throws std::bad_alloc when the list cannot grow.
ReadingStop scanFrequencyLevelList(std::FILE* file, FrequencyLevelList& list,
                                   const ReadingOptions& options = {});

// The same reading of a list's bytes held in memory, read where they are.
ReadingStop scanFrequencyLevelList(std::span<const char> bytes, FrequencyLevelList& list);

// The same reading for callers that need only the points: the number of points read is the
// list's size.
void readFrequencyLevelList(std::FILE* file, FrequencyLevelList& list);

}  // namespace ambersel
