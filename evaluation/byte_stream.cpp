#include "evaluation/byte_stream.h"

#include <algorithm>

namespace ambersel {

ByteStream::ByteStream(std::FILE* file, std::size_t bufferSize, const ContentSink* contents)
    : m_file(file), m_contents(contents), m_buffer(std::max<std::size_t>(bufferSize, 1)) {
    m_next = m_end = m_itemStart = m_fillStart = m_buffer.data();
}

ByteStream::ByteStream(std::span<const char> bytes)
    : m_file(nullptr), m_contents(nullptr), m_atEnd(true) {
    m_next = m_itemStart = m_fillStart = bytes.data();
    m_end = bytes.data() + bytes.size();
}

int ByteStream::peekNextFill() {
    if (m_atEnd) {
        return kEnd;
    }
    if (m_itemHead.size() < kLongestExcerpt) {
        const auto kept = std::min<std::size_t>(kLongestExcerpt - m_itemHead.size(),
                                                static_cast<std::size_t>(m_end - m_itemStart));
        m_itemHead.append(m_itemStart, kept);
    }
    m_filledBefore += static_cast<std::uint64_t>(m_end - m_fillStart);
    const std::size_t count = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    m_next = m_itemStart = m_fillStart = m_buffer.data();
    m_end = m_next + count;
    // fread gives less than it was asked for only at the end or on an error, so a short fill is
    // the last: asking again would cost one more read of nothing.
    if (count < m_buffer.size()) {
        m_atEnd = true;
        m_readFailed = std::ferror(m_file) != 0;
    }
    if (count == 0) {
        return kEnd;
    }
    if (m_contents != nullptr) {
        (*m_contents)(std::span(reinterpret_cast<const unsigned char*>(m_buffer.data()), count));
    }
    return static_cast<unsigned char>(*m_next);
}

void ByteStream::drain(std::uint64_t limit) {
    m_next = m_end;
    while (limit == 0 || offset() < limit) {
        if (peekNextFill() == kEnd) {
            break;
        }
        m_next = m_end;
    }
}

std::string ByteStream::itemExcerpt(std::size_t length) {
    length = std::min(length, kLongestExcerpt);
    std::string excerpt = m_itemHead;
    excerpt.append(m_itemStart, m_next);
    while (excerpt.size() < length) {
        const int c = peek();
        if (c == kEnd) {
            break;
        }
        excerpt.push_back(static_cast<char>(c));
        advance();
    }
    excerpt.resize(std::min({excerpt.find_first_of("\r\n"), excerpt.size(), length}));
    return excerpt;
}

}  // namespace ambersel
