#pragma once

// Numbers and raw bytes as report text: the full stop as decimal separator whatever the process
// locale, and no byte that could pass for a line end or a terminal control.

#include <string>
#include <string_view>

namespace ambersel::cli {

// The shortest decimal that reads back to the same value ("0.12104408", "1e+06"); "inf", "-inf",
// "nan" or "-nan" for a value that is not finite.
std::string shortestText(float value);
std::string shortestText(double value);

// The bits of a single-precision value as eight upper-case hexadecimal digits: "0x3DF7E5F5".
std::string bitsText(float value);

// Bytes made safe to print inside one line: control bytes and the backslash are written as \xHH
// and \\. With `keepNonAscii` false, bytes above 0x7E are escaped too, so that an invisible
// byte-order mark or a UTF-16 file shows as what it is.
std::string escapedBytes(std::string_view bytes, bool keepNonAscii);

}  // namespace ambersel::cli
