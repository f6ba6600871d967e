#include "cli/console_output.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <iostream>

#include "text/unicode_text.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace ambersel::cli {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// The length of the sequence a lead byte starts; 0 for a byte that starts none.
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

// Whether `tail`, shorter than a whole character, may be the start of one that the next piece
// completes.
bool mayBeCut(std::string_view tail) {
    const std::size_t length = sequenceLength(static_cast<unsigned char>(tail[0]));
    if (tail.size() >= length) {
        return false;
    }
    for (std::size_t i = 1; i < tail.size(); ++i) {
        if ((static_cast<unsigned char>(tail[i]) & 0xC0U) != 0x80U) {
            return false;
        }
    }
    return true;
}

void appendUnits(std::u16string& text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text.push_back(static_cast<char16_t>(codePoint));
    } else {
        codePoint -= 0x10000;
        text.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10U)));
        text.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FFU)));
    }
}

}  // namespace

std::u16string Utf16Decoder::decode(std::string_view bytes) {
    m_pending.append(bytes);
    const std::string_view pending = m_pending;
    std::u16string text;
    text.reserve(pending.size());
    std::size_t at = 0;
    while (at < pending.size()) {
        const DecodedCodePoint decoded = decodeGeneralizedUtf8(pending, at);
        if (decoded.length > 0) {
            appendUnits(text, decoded.codePoint);
            at += decoded.length;
        } else if (mayBeCut(pending.substr(at))) {
            break;
        } else {
            text.push_back(kReplacement);
            ++at;
        }
    }
    m_pending.erase(0, at);
    return text;
}

std::u16string Utf16Decoder::finish() {
    const bool cut = !m_pending.empty();
    m_pending.clear();
    return cut ? std::u16string(1, kReplacement) : std::u16string();
}

WideTextBuffer::WideTextBuffer(Sink sink) : m_sink(std::move(sink)) {
    setp(m_bytes.data(), m_bytes.data() + m_bytes.size());
}

WideTextBuffer::~WideTextBuffer() {
    handOver(true);
}

WideTextBuffer::int_type WideTextBuffer::overflow(int_type byte) {
    if (!handOver(false)) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(byte, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(byte);
        pbump(1);
    }
    return traits_type::not_eof(byte);
}

int WideTextBuffer::sync() {
    return handOver(false) ? 0 : -1;
}

bool WideTextBuffer::handOver(bool last) {
    std::u16string text = m_decoder.decode(std::string_view(pbase(), pptr() - pbase()));
    setp(m_bytes.data(), m_bytes.data() + m_bytes.size());
    if (last) {
        text += m_decoder.finish();
    }
    return text.empty() || m_sink(text);
}

#if defined(_WIN32)
namespace {

// The console behind a standard handle; nothing when the handle is a file, a pipe or absent.
HANDLE consoleOf(DWORD standardHandle) {
    const HANDLE handle = GetStdHandle(standardHandle);
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)
               ? handle
               : nullptr;
}

std::unique_ptr<WideTextBuffer> consoleBuffer(HANDLE console) {
    if (console == nullptr) {
        return nullptr;
    }
    return std::make_unique<WideTextBuffer>([console](std::u16string_view text) {
        // Pieces a console takes at once on every version of Windows.
        constexpr std::size_t kPiece = 8192;
        while (!text.empty()) {
            const std::size_t piece = std::min(text.size(), kPiece);
            DWORD written = 0;
            if (!WriteConsoleW(console, text.data(), static_cast<DWORD>(piece), &written,
                               nullptr) ||
                written == 0) {
                return false;
            }
            text.remove_prefix(written);
        }
        return true;
    });
}

}  // namespace

ConsoleOutput::ConsoleOutput()
    : m_output(consoleBuffer(consoleOf(STD_OUTPUT_HANDLE))),
      m_error(consoleBuffer(consoleOf(STD_ERROR_HANDLE))) {
    // The C runtime writes a stream it gives no buffer one byte per WriteFile call; the streams
    // are flushed where a reader must see what was written (after each list, each message).
    if (m_output) {
        std::cout.flush();
        m_formerOutput = std::cout.rdbuf(m_output.get());
    } else {
        std::setvbuf(stdout, nullptr, _IOFBF, std::size_t{1} << 16U);
    }
    if (m_error) {
        std::cerr.flush();
        m_formerError = std::cerr.rdbuf(m_error.get());
    } else {
        std::setvbuf(stderr, nullptr, _IOFBF, std::size_t{1} << 12U);
    }
}

#else

ConsoleOutput::ConsoleOutput() = default;

#endif

ConsoleOutput::~ConsoleOutput() {
    if (m_output) {
        std::cout.flush();
        std::cout.rdbuf(m_formerOutput);
    }
    if (m_error) {
        std::cerr.flush();
        std::cerr.rdbuf(m_formerError);
    }
}

}  // namespace ambersel::cli
