#pragma once

// Numbers rounded for people to read, as charts and reports write them, with the full stop as
// decimal separator whatever the locale.

#include <string>
#include <string_view>

namespace ambersel::plot {

// `value` with `digits` significant digits, 1 to 40, in the shorter of fixed or scientific form:
// "96.3", "1e+06".
std::string roundedText(double value, int digits);

// A frequency with three significant digits in the largest unit it reaches: "150 kHz", "2.5 MHz",
// "1 kHz" for 999.6 Hz.
std::string frequencyText(double hertz);

// A fraction as a percentage with three significant digits: "12.3%".
std::string percentText(double fraction);

// A level change rounded to 0.01 dB, with its sign: "+40.71 dB", "-0.99 dB"; "0.00 dB" for one
// that rounds to zero, which has no sign to show.
std::string decibelText(double decibels);

// Bytes as printable ASCII within one line: control bytes, bytes above 0x7E and the backslash are
// written as \xHH and \\, so that a file's stray bytes show as what they are.
std::string printableText(std::string_view bytes);

}  // namespace ambersel::plot
