#pragma once

// Numbers and bytes as text for people and for files: charts, reports and the evaluator's output
// all write them through here, with the full stop as decimal separator whatever the process
// locale, and with no byte that could pass for a line end or a terminal control.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ambersel {

// The shortest decimal that reads back to the same value ("0.12104408", "1e+06"); "inf", "-inf",
// "nan" or "-nan" for a value that is not finite.
std::string shortestText(float value);
std::string shortestText(double value);

// `value` with `digits` significant digits, 1 to 40, in the shorter of fixed or scientific form:
// "96.3", "1e+06".
std::string roundedText(double value, int digits);

// `value` with exactly `decimals` decimals, 0 to 40: "45.23".
std::string decimalsText(double value, int decimals);

// A frequency with `digits` significant digits in the largest unit it reaches once rounded:
// "150 kHz", "2.5 MHz", and with three digits "1 kHz" for 999.6 Hz; "-inf" and "+inf" for an open
// band end.
std::string frequencyText(double hertz, int digits);

// A count and what it counts, in the singular for one: "1 point", "3 points", "0 lists".
std::string countText(std::size_t count, std::string_view one, std::string_view many);

// A share as a percentage with two decimals, in every output alike: "12.34%", "100.00%", and
// "0.00%" for a share that rounds to zero, which has no sign to show. The one percent rule: every
// other form below is written through it.
std::string percentText(double fraction);

// The same for a share that may be missing: `none` where there is none ("-", say).
std::string percentText(std::optional<double> fraction, std::string_view none);

// `part` of `whole` (not 0) as a percentage, by the same rule: "97.33%".
std::string percentOfCount(std::size_t part, std::size_t whole);

// A margin as it is printed, rounded to 0.01 dB; a margin that rounds to zero is +0.
double roundedMargin(double margin);

// A margin in dB rounded to 0.01 dB, with its sign: "+40.71 dB", "-1.66 dB"; "0.00 dB" for one
// that rounds to zero, which has no sign to show; "none" where F has no margin.
std::string marginText(std::optional<double> margin);

// The bits of a single-precision value as eight upper-case hexadecimal digits: "0x3DF7E5F5".
std::string floatBitsText(float value);

}  // namespace ambersel
