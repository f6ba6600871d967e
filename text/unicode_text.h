#pragma once

// Text between UTF-16, in which Windows names files and the dialog holds its text, and UTF-8, in
// which other systems name files and every output is written. Generalized UTF-8 (WTF-8) writes an
// unpaired surrogate, valid in a Windows file name, like any other code point, so that every
// UTF-16 name converts to bytes and back exactly.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ambersel {

// A code point read from generalized UTF-8 and the number of bytes it took; a length of 0 when no
// valid sequence starts there (a byte that starts none, a cut or overlong sequence, a code point
// beyond U+10FFFF). Surrogate code points are let through: UTF-8 proper refuses them.
struct DecodedCodePoint {
    char32_t codePoint = 0;
    std::size_t length = 0;
};
DecodedCodePoint decodeGeneralizedUtf8(std::string_view text, std::size_t at);

constexpr bool isSurrogate(char32_t codePoint) {
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

// `units` in generalized UTF-8; never fails.
std::string generalizedUtf8FromUtf16(std::u16string_view units);

// `units` in UTF-8 proper, or nothing when they hold an unpaired surrogate, which has no UTF-8
// form.
std::optional<std::string> utf8FromUtf16(std::u16string_view units);

// The UTF-16 units that `text`, generalized UTF-8, stands for; nothing when it is not such text,
// including a surrogate pair written as two surrogates, which would not read back as itself.
std::optional<std::u16string> utf16FromGeneralizedUtf8(std::string_view text);

}  // namespace ambersel
