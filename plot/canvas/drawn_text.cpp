#include "plot/canvas/drawn_text.h"

#include "evaluation/unicode_text.h"

namespace ambersel::plot {
namespace {

constexpr bool isDrawnAsItself(char32_t codePoint) {
    const bool control = codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
    const bool nonCharacter =
        (codePoint >= 0xFDD0 && codePoint <= 0xFDEF) || (codePoint & 0xFFFE) == 0xFFFE;
    return !control && !isSurrogate(codePoint) && !nonCharacter;
}

// Calls `take(codePoint, bytes)` for each code point of `utf8` as drawn, with the bytes it was
// read from.
template <typename Take>
void forEachDrawn(std::string_view utf8, Take&& take) {
    for (std::size_t at = 0; at < utf8.size();) {
        const DecodedCodePoint decoded = decodeGeneralizedUtf8(utf8, at);
        const std::size_t length = decoded.length == 0 ? 1 : decoded.length;
        const bool itself = decoded.length != 0 && isDrawnAsItself(decoded.codePoint);
        take(itself ? decoded.codePoint : kReplacementCharacter,
             itself ? utf8.substr(at, length) : std::string_view("\xEF\xBF\xBD"));
        at += length;
    }
}

}  // namespace

std::u32string drawnCodePoints(std::string_view utf8) {
    std::u32string codePoints;
    codePoints.reserve(utf8.size());
    forEachDrawn(utf8, [&](char32_t codePoint, std::string_view) { codePoints += codePoint; });
    return codePoints;
}

std::string drawnText(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    forEachDrawn(utf8, [&](char32_t, std::string_view bytes) { text += bytes; });
    return text;
}

}  // namespace ambersel::plot
