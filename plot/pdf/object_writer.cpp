#include "plot/pdf/object_writer.h"

#include <array>
#include <charconv>
#include <limits>
#include <stdexcept>

namespace ambersel::plot::pdf {
namespace {

constexpr std::uint64_t kUnwritten = std::numeric_limits<std::uint64_t>::max();
// Pieces go to the sink in blocks: an object at a time would cost a call to the system each.
constexpr std::size_t kBlock = 1 << 16;
// Offsets have ten digits in the cross-reference table.
constexpr std::uint64_t kLargestOffset = 9'999'999'999;

std::string decimal(std::uint64_t value) {
    std::array<char, 24> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    return {digits.data(), result.ptr};
}

// A cross-reference entry: ten digits of offset, five of generation, its kind, and a two-byte end.
std::string xrefEntry(std::uint64_t offset) {
    const std::string digits = decimal(offset);
    return std::string(10 - digits.size(), '0') + digits + " 00000 n \n";
}

}  // namespace

std::string reference(ObjectRef object) {
    return decimal(object.number) + " 0 R";
}

ObjectWriter::ObjectWriter(ByteSink sink) : m_sink(std::move(sink)) {
    // The four bytes above 127 tell transfer programs that the file is binary.
    write("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n");
}

ObjectRef ObjectWriter::reserve() {
    m_offsets.push_back(kUnwritten);
    return {static_cast<std::uint32_t>(m_offsets.size())};
}

void ObjectWriter::startObject(ObjectRef number) {
    if (number.number == 0 || number.number > m_offsets.size() ||
        m_offsets[number.number - 1] != kUnwritten || m_openStream.number != 0 || m_finished) {
        throw std::logic_error(
            "PDF object written twice, never reserved, inside a stream, or after the end");
    }
    m_offsets[number.number - 1] = m_offset;
    write(decimal(number.number));
    write(" 0 obj\n");
}

void ObjectWriter::object(ObjectRef number, std::string_view body) {
    startObject(number);
    write(body);
    write("\nendobj\n");
}

ObjectRef ObjectWriter::object(std::string_view body) {
    const ObjectRef number = reserve();
    object(number, body);
    return number;
}

void ObjectWriter::stream(ObjectRef number, std::string_view entries, std::string_view data) {
    startObject(number);
    write("<<");
    write(entries);
    write(" /Length ");
    write(decimal(data.size()));
    write(" >>\nstream\n");
    write(data);
    write("\nendstream\nendobj\n");
}

ObjectRef ObjectWriter::stream(std::string_view entries, std::string_view data) {
    const ObjectRef number = reserve();
    stream(number, entries, data);
    return number;
}

void ObjectWriter::beginStream(ObjectRef number, std::string_view entries) {
    const ObjectRef length = reserve();
    startObject(number);
    write("<<");
    write(entries);
    write(" /Length ");
    write(reference(length));
    write(" >>\nstream\n");
    m_openStream = number;
    m_openLength = length;
    m_streamStart = m_offset;
}

void ObjectWriter::streamData(std::string_view data) {
    if (m_openStream.number == 0) {
        throw std::logic_error("PDF stream data outside a stream");
    }
    write(data);
}

void ObjectWriter::endStream() {
    if (m_openStream.number == 0) {
        throw std::logic_error("PDF stream ended that was never begun");
    }
    const std::uint64_t length = m_offset - m_streamStart;
    write("\nendstream\nendobj\n");
    m_openStream = {};
    object(m_openLength, decimal(length));
}

void ObjectWriter::finish(std::string_view trailerEntries) {
    if (m_finished) {
        throw std::logic_error("PDF file ended twice");
    }
    for (const std::uint64_t offset : m_offsets) {
        if (offset == kUnwritten) {
            throw std::logic_error("PDF object reserved but never written");
        }
    }
    const std::uint64_t xref = m_offset;
    write("xref\n0 ");
    write(decimal(m_offsets.size() + 1));
    write("\n0000000000 65535 f \n");
    for (const std::uint64_t offset : m_offsets) {
        write(xrefEntry(offset));
    }
    write("trailer\n<< /Size ");
    write(decimal(m_offsets.size() + 1));
    write(" ");
    write(trailerEntries);
    write(" >>\nstartxref\n");
    write(decimal(xref));
    write("\n%%EOF\n");
    flush();
    m_finished = true;
}

void ObjectWriter::write(std::string_view bytes) {
    m_offset += bytes.size();
    if (m_offset > kLargestOffset) {
        throw std::length_error("PDF file larger than its cross-reference table can hold");
    }
    if (m_pending.size() + bytes.size() > kBlock) {
        flush();
        if (bytes.size() >= kBlock) {
            m_sink(bytes);
            return;
        }
    }
    m_pending += bytes;
}

void ObjectWriter::flush() {
    if (!m_pending.empty()) {
        m_sink(m_pending);
        m_pending.clear();
    }
}

}  // namespace ambersel::plot::pdf
