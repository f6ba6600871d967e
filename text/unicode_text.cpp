#include "text/unicode_text.h"

namespace ambersel {
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

}  // namespace

DecodedCodePoint decodeGeneralizedUtf8(std::string_view text, std::size_t at) {
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
                return {};
            }
            codePoint = (codePoint << 6) | (next & 0x3FU);
        }
        if (codePoint < kind.smallest || codePoint > 0x10FFFF) {
            return {};
        }
        return {codePoint, kind.length};
    }
    return {};
}

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

std::optional<std::string> utf8FromUtf16(std::u16string_view units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (isHighSurrogate(units[i]) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            ++i;
        } else if (isSurrogate(units[i])) {
            return std::nullopt;
        }
    }
    return generalizedUtf8FromUtf16(units);
}

std::optional<std::u16string> utf16FromGeneralizedUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    bool afterHighSurrogate = false;
    for (std::size_t at = 0; at < text.size();) {
        const auto [codePoint, length] = decodeGeneralizedUtf8(text, at);
        if (length == 0 || (afterHighSurrogate && isLowSurrogate(codePoint))) {
            return std::nullopt;
        }
        afterHighSurrogate = isHighSurrogate(codePoint);
        appendUnits(out, codePoint);
        at += length;
    }
    return out;
}

}  // namespace ambersel
