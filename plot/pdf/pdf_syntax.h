#pragma once

// The lexical pieces of a PDF file, written the same byte for byte on every platform: numbers
// through std::to_chars (no locale), names, strings and dates.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace ambersel::plot::pdf {

// `value` as plot/canvas/fixed_number.h writes it.
void appendNumber(std::string& out, double value, int decimals = 3);
std::string number(double value, int decimals = 3);

// A name object ("/DejaVuSans", "/text#2Fplain"): bytes outside '!' to '~', '#' and the
// delimiters written as #xx.
std::string name(std::string_view bytes);

// A literal string of `bytes`, as they are: "(a\(b\)c)", non-printing bytes as octal escapes.
std::string literalString(std::string_view bytes);

// A hexadecimal string of `bytes`: "<0A1B>".
std::string hexString(std::string_view bytes);

// A text string (titles, file names) of `utf8` as drawn (text/byte_text.h): a literal
// string where it is printable ASCII, else UTF-16BE behind a byte order mark, in hexadecimal.
std::string textString(std::string_view utf8);

// `utf8` as drawn, in UTF-16BE without a byte order mark, in hexadecimal digits, no brackets.
std::string utf16Hex(std::string_view utf8);
void appendUtf16Hex(std::string& out, char32_t codePoint);

// Two hexadecimal digits, upper case, for each byte of `bytes`.
void appendHex(std::string& out, std::string_view bytes);

// A moment as PDF dates write it ("D:20240611083000+00'00'") and as XMP does
// ("2024-06-11T08:30:00+00:00"), always in UTC. Moments before year 1 or after 9999 are cut to
// those years' ends: a date has four digits for its year.
std::string pdfDate(std::chrono::sys_seconds moment);
std::string xmpDate(std::chrono::sys_seconds moment);

}  // namespace ambersel::plot::pdf
