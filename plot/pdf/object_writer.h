#pragma once

// A PDF file written as data, front to back: the header, then each object as it is given, its
// offset recorded as it is written, then the cross-reference table from those offsets and the
// trailer. Nothing written is read back or changed; a stream whose length is not known before its
// data has its length written as an object of its own after it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ambersel::plot::pdf {

// Where the file's bytes go, in order (a file being replaced, a string). Its failures are its
// own to report: it may throw, or keep the first failure for later.
using ByteSink = std::function<void(std::string_view bytes)>;

// An indirect object's number; its generation is always 0.
struct ObjectRef {
    std::uint32_t number = 0;

    friend bool operator==(const ObjectRef&, const ObjectRef&) = default;
};

// "12 0 R".
std::string reference(ObjectRef object);

class ObjectWriter {
  public:
    // Writes the header: PDF 1.7 and the comment of bytes above 127 that marks the file as binary.
    explicit ObjectWriter(ByteSink sink);

    ObjectWriter(const ObjectWriter&) = delete;
    ObjectWriter& operator=(const ObjectWriter&) = delete;

    // A number for an object that is written later; every number taken must be written once
    // before finish().
    ObjectRef reserve();

    // Writes the object `number` with `body` ("<< /Type /Catalog ... >>"), or a new one.
    void object(ObjectRef number, std::string_view body);
    ObjectRef object(std::string_view body);

    // Writes a stream whose data is known whole: `entries` are its dictionary's other entries
    // ("/Filter /FlateDecode"), /Length is added.
    void stream(ObjectRef number, std::string_view entries, std::string_view data);
    ObjectRef stream(std::string_view entries, std::string_view data);

    // A stream written in pieces: begin, add data, end. Its /Length refers to an object written
    // right after it. No other object may be written in between.
    void beginStream(ObjectRef number, std::string_view entries);
    void streamData(std::string_view data);
    void endStream();

    // Writes the cross-reference table and the trailer, with `entries` ("/Root 1 0 R /ID [...]")
    // and /Size, and hands the last bytes to the sink. Throws std::logic_error when an object
    // reserved was never written. Nothing may be written after.
    void finish(std::string_view trailerEntries);

    // Bytes written so far.
    std::uint64_t offset() const { return m_offset; }

  private:
    void write(std::string_view bytes);
    void startObject(ObjectRef number);
    void flush();

    ByteSink m_sink;
    std::string m_pending;
    std::uint64_t m_offset = 0;
    // By object number less one; kUnwritten until written.
    std::vector<std::uint64_t> m_offsets;
    ObjectRef m_openStream;
    ObjectRef m_openLength;
    std::uint64_t m_streamStart = 0;
    bool m_finished = false;
};

}  // namespace ambersel::plot::pdf
