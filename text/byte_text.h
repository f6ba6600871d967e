#pragma once

// Bytes of unknown origin (paths, list excerpts, file names in pictures) made safe to show. One
// sanitiser serves every output; what differs between them is a rule set: a line on a terminal
// escapes what could break or forge a line, a report keeps valid UTF-8 and marks the rest, a
// picture draws only characters a font can draw.

#include <string>
#include <string_view>

namespace ambersel {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

struct ByteTextRules {
    // Control bytes (below 0x20, and 0x7F): written as \xHH, or stood in for by U+FFFD.
    enum class Controls { Escape, Replace } controls = Controls::Escape;
    // The backslash: written as \\ (so that an escape cannot be forged), or kept.
    bool escapeBackslash = true;
    // Bytes above 0x7E: kept as they are, escaped as \xHH, or read as UTF-8, each byte that starts
    // no valid sequence (and each surrogate) stood in for by U+FFFD.
    enum class NonAscii { Keep, Escape, Utf8 } nonAscii = NonAscii::Keep;
    // With NonAscii::Utf8: C1 controls, surrogates and non-characters stood in for by one U+FFFD
    // each, so that what is left is text a font draws.
    bool replaceUndrawable = false;
};

// `bytes` under `rules`.
std::string sanitisedText(std::string_view bytes, const ByteTextRules& rules);

// A line of the evaluator's output: control bytes and the backslash escaped. With `keepNonAscii`
// false, bytes above 0x7E are escaped too, so that an invisible byte-order mark or a UTF-16 file
// shows as what it is.
inline std::string escapedBytes(std::string_view bytes, bool keepNonAscii) {
    return sanitisedText(
        bytes,
        {ByteTextRules::Controls::Escape, true,
         keepNonAscii ? ByteTextRules::NonAscii::Keep : ByteTextRules::NonAscii::Escape, false});
}

// Text for a report: control bytes as \xHH, invalid UTF-8 bytes as U+FFFD.
inline std::string printableText(std::string_view bytes) {
    return sanitisedText(
        bytes, {ByteTextRules::Controls::Escape, false, ByteTextRules::NonAscii::Utf8, false});
}

// Text as every picture draws it and the font metrics measure it: each byte that does not start
// a valid UTF-8 sequence, and each surrogate, control character and non-character, stands for
// U+FFFD, so that an SVG stays well-formed XML and its text measures as drawn.
inline std::string drawnText(std::string_view utf8) {
    return sanitisedText(
        utf8, {ByteTextRules::Controls::Replace, false, ByteTextRules::NonAscii::Utf8, true});
}

// The code points of drawnText(utf8).
std::u32string drawnCodePoints(std::string_view utf8);

// `text` with the characters that markup gives a meaning (& < > " ') written as entities, for
// XML, SVG and HTML alike, in text and in attribute values.
std::string markupText(std::string_view text);

// `text` as one CSV field: as it is, or in double quotes, with each quote doubled, when it holds a
// comma, a quote or a line end.
std::string csvField(std::string_view text);

// The hexadecimal digit of `value` (0 to 15), in lower or upper case: the one table of them.
enum class LetterCase { Lower, Upper };
char hexDigit(unsigned value, LetterCase letters = LetterCase::Lower);

// `bytes` as hexadecimal digits, two to a byte, lower case.
std::string hexText(std::string_view bytes);

}  // namespace ambersel
