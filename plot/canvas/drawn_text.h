#pragma once

// Text as every backend draws it and the font metrics measure it. A name in a picture comes from
// a file name or a list and may hold anything: every byte that does not start a valid UTF-8
// sequence, and every surrogate, control character and non-character, stands for U+FFFD (the
// replacement character), so that an SVG stays well-formed XML and its text measures as drawn.

#include <string>
#include <string_view>

namespace ambersel::plot {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code points of `utf8` as drawn.
std::u32string drawnCodePoints(std::string_view utf8);

// `utf8` as drawn, in UTF-8: its valid sequences byte for byte.
std::string drawnText(std::string_view utf8);

}  // namespace ambersel::plot
