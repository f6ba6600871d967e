#include "cli/argument_text.h"

#include <utility>

namespace ambersel::cli {
namespace {

constexpr bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendEncoded(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

void appendUnits(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

// The lead bytes of multi-byte sequences: their range, the sequence's length, the bits of the
// lead byte that belong to the code point, and the smallest code point of that length.
struct LeadByte {
    unsigned char first;
    unsigned char last;
    std::size_t length;
    unsigned mask;
    char32_t smallest;
};
constexpr LeadByte kLeadBytes[] = {
    {0xC2, 0xDF, 2, 0x1F, 0x80},
    {0xE0, 0xEF, 3, 0x0F, 0x800},
    {0xF0, 0xF4, 4, 0x07, 0x10000},
};

// The code point of the sequence that starts at text[at], and its length; a length of 0 when no
// valid sequence starts there.
std::pair<char32_t, std::size_t> decodeAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    for (const LeadByte& kind : kLeadBytes) {
        if (lead < kind.first || lead > kind.last || at + kind.length > text.size()) {
            continue;
        }
        char32_t codePoint = lead & kind.mask;
        for (std::size_t i = 1; i < kind.length; ++i) {
            const auto next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0) != 0x80) {
                return {0, 0};
            }
            codePoint = (codePoint << 6) | (next & 0x3FU);
        }
        if (codePoint < kind.smallest || codePoint > 0x10FFFF) {
            return {0, 0};
        }
        return {codePoint, kind.length};
    }
    return {0, 0};
}

}  // namespace

std::string generalizedUtf8FromUtf16(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t unit = units[i];
        if (isHighSurrogate(unit) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (char32_t{units[++i]} - 0xDC00U);
        }
        appendEncoded(out, unit);
    }
    return out;
}

std::optional<std::u16string> utf16FromGeneralizedUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    bool afterHighSurrogate = false;
    for (std::size_t at = 0; at < text.size();) {
        const auto [codePoint, length] = decodeAt(text, at);
        // A pair written as two surrogates would read back as one code point of four bytes.
        if (length == 0 || (afterHighSurrogate && isLowSurrogate(codePoint))) {
            return std::nullopt;
        }
        afterHighSurrogate = isHighSurrogate(codePoint);
        appendUnits(out, codePoint);
        at += length;
    }
    return out;
}

std::optional<std::filesystem::path> pathOfArgument(const std::string& argument) {
#if defined(_WIN32)
    const std::optional<std::u16string> units = utf16FromGeneralizedUtf8(argument);
    if (!units) {
        return std::nullopt;
    }
    return std::filesystem::path(std::wstring(units->begin(), units->end()));
#else
    return std::filesystem::path(argument);
#endif
}

}  // namespace ambersel::cli
