#include "text/byte_text.h"

#include "text/unicode_text.h"

namespace ambersel {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

constexpr bool isControl(char32_t codePoint) {
    return codePoint < 0x20 || codePoint == 0x7F;
}

constexpr bool isUndrawable(char32_t codePoint) {
    const bool c1 = codePoint >= 0x80 && codePoint <= 0x9F;
    const bool nonCharacter =
        (codePoint >= 0xFDD0 && codePoint <= 0xFDEF) || (codePoint & 0xFFFE) == 0xFFFE;
    return c1 || nonCharacter || isSurrogate(codePoint);
}

void appendEscaped(std::string& text, unsigned char byte) {
    text += "\\x";
    text.push_back(hexDigit(byte >> 4U));
    text.push_back(hexDigit(byte & 0xFU));
}

// Appends the UTF-8 sequence at `at`, or what stands for it; returns the bytes it took.
std::size_t appendUtf8(std::string& text, std::string_view bytes, std::size_t at,
                       const ByteTextRules& rules) {
    const DecodedCodePoint decoded = decodeGeneralizedUtf8(bytes, at);
    if (decoded.length == 0) {
        text += kReplacement;
        return 1;
    }
    if (rules.replaceUndrawable && isUndrawable(decoded.codePoint)) {
        text += kReplacement;
        return decoded.length;
    }
    if (isSurrogate(decoded.codePoint)) {
        // No character of UTF-8 proper: each of its bytes is one that starts none.
        text += kReplacement;
        return 1;
    }
    text.append(bytes.substr(at, decoded.length));
    return decoded.length;
}

}  // namespace

std::string sanitisedText(std::string_view bytes, const ByteTextRules& rules) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (isControl(byte)) {
            if (rules.controls == ByteTextRules::Controls::Escape) {
                appendEscaped(text, byte);
            } else {
                text += kReplacement;
            }
            ++at;
        } else if (byte == '\\' && rules.escapeBackslash) {
            text += "\\\\";
            ++at;
        } else if (byte < 0x80 || rules.nonAscii == ByteTextRules::NonAscii::Keep) {
            text.push_back(static_cast<char>(byte));
            ++at;
        } else if (rules.nonAscii == ByteTextRules::NonAscii::Escape) {
            appendEscaped(text, byte);
            ++at;
        } else {
            at += appendUtf8(text, bytes, at, rules);
        }
    }
    return text;
}

std::u32string drawnCodePoints(std::string_view utf8) {
    const std::string drawn = drawnText(utf8);
    std::u32string codePoints;
    codePoints.reserve(drawn.size());
    for (std::size_t at = 0; at < drawn.size();) {
        const DecodedCodePoint decoded = decodeGeneralizedUtf8(drawn, at);
        codePoints += decoded.codePoint;
        at += decoded.length;
    }
    return codePoints;
}

std::string markupText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
    }
    quoted += '"';
    return quoted;
}

char hexDigit(unsigned value, LetterCase letters) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    const char digit = kDigits[value & 0xFU];
    return letters == LetterCase::Upper && digit >= 'a' ? static_cast<char>(digit - 'a' + 'A')
                                                        : digit;
}

std::string hexText(std::string_view bytes) {
    std::string text;
    text.reserve(2 * bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.push_back(hexDigit(byte >> 4U));
        text.push_back(hexDigit(byte & 0xFU));
    }
    return text;
}

}  // namespace ambersel
