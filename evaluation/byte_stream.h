#pragma once

// The bytes of an open stream, read through a fixed buffer with one byte of look-ahead: all that
// reading a list item ever needs, so a file of any size is read in constant memory. Bytes already
// in memory are read in place.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "evaluation/frequency_level_list.h"

namespace ambersel {

class ByteStream {
  public:
    static constexpr int kEnd = -1;

    // Reads `file` from where it stands, `bufferSize` bytes at a time (at least one). `contents`,
    // when given, takes each piece as it is read and must outlive the stream.
    ByteStream(std::FILE* file, std::size_t bufferSize, const ContentSink* contents = nullptr);
    // Reads `bytes`, which must outlive the stream, where they are.
    explicit ByteStream(std::span<const char> bytes);

    // The next byte (0 to 255) without taking it, or kEnd at the end of the input or after a
    // read error.
    int peek() { return m_next != m_end ? static_cast<unsigned char>(*m_next) : peekNextFill(); }
    // Takes the byte that peek() returned; only after a peek() that did not return kEnd.
    void advance() { ++m_next; }

    // True when the input ended because the system reported an error.
    bool readFailed() const { return m_readFailed; }
    // The number of bytes taken so far.
    std::uint64_t offset() const {
        return m_filledBefore + static_cast<std::uint64_t>(m_next - m_fillStart);
    }

    // Marks the next byte as the start of an item, so that itemExcerpt() can quote it even after
    // the item has run across later buffer fills.
    void markItemStart() {
        m_itemStart = m_next;
        m_itemHead.clear();
    }
    // The text of the current item from its start to the end of its line, at most `length`
    // bytes (no more than kLongestExcerpt). Reads on past the byte where scanning stopped; only
    // for quoting an item after reading has ended.
    std::string itemExcerpt(std::size_t length);
    static constexpr std::size_t kLongestExcerpt = 64;

    // Reads the rest of the stream for the contents sink alone, until its end or until `limit`
    // bytes were read in all (0: no limit); then the stream is at its end.
    void drain(std::uint64_t limit);

  private:
    friend class ByteCursor;

    int peekNextFill();

    std::FILE* m_file;  // null for bytes in memory
    const ContentSink* m_contents;
    std::vector<char> m_buffer;
    const char* m_fillStart = nullptr;  // the first byte of the current fill
    const char* m_next = nullptr;
    const char* m_end = nullptr;
    const char* m_itemStart = nullptr;
    std::string m_itemHead;  // the start of the current item, from buffer fills already replaced
    std::uint64_t m_filledBefore = 0;  // bytes of the fills before the current one
    bool m_atEnd = false;
    bool m_readFailed = false;
};

// A scanner's own copy of a stream's read position. A loop that reads through a cursor held in a
// local variable keeps the position in registers, where one that reads through the stream itself
// would store and load it at every byte. The position goes back to the stream when the cursor
// goes; the stream must not be read otherwise meanwhile.
class ByteCursor {
  public:
    explicit ByteCursor(ByteStream& stream)
        : m_stream(stream), m_next(stream.m_next), m_end(stream.m_end) {}
    ByteCursor(const ByteCursor&) = delete;
    ByteCursor& operator=(const ByteCursor&) = delete;
    ~ByteCursor() { m_stream.m_next = m_next; }

    int peek() {
        if (m_next != m_end) {
            return static_cast<unsigned char>(*m_next);
        }
        m_stream.m_next = m_next;
        const int c = m_stream.peekNextFill();
        m_next = m_stream.m_next;
        m_end = m_stream.m_end;
        return c;
    }
    void advance() { ++m_next; }

  private:
    ByteStream& m_stream;
    const char* m_next;
    const char* m_end;
};

}  // namespace ambersel
