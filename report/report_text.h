#pragma once

// The report's texts for numbers and for the parts of a list record, shared by its HTML and PDF
// forms so that both say exactly the same.

#include <optional>
#include <string>
#include <string_view>

#include "evaluation/figure_analysis.h"

namespace ambersel::report {

// "+40.71 dB" or "-1.66 dB", rounded to 0.01 dB; "none" where F has no margin.
std::string marginText(std::optional<double> margin);

// What the margin means for the device: "passes with 40.71 dB to spare", "every level must come
// down by 1.66 dB", "no level change reaches the limit".
std::string marginMeaning(std::optional<double> margin);

// A frequency in the largest unit it reaches: "150 kHz", "1 MHz", "2.5 GHz", "500 Hz"; "-inf" and
// "+inf" for an open band end.
std::string frequencyText(double hertz);

// The band as text: "150 kHz - 1 MHz", "below 150 kHz", "above 30 MHz", "no frequency".
std::string bandText(const BandShare& band);

// `value` with `digits` significant digits, or with exactly `decimals` decimals.
std::string significantText(double value, int digits);
std::string decimalsText(double value, int decimals);

// "12.34%"; "-" where there is no share.
std::string percentText(std::optional<double> share);

// The bits of a single-precision value: "0x3DF7E5F5".
std::string floatBitsText(float value);

// Bytes made safe for a report: control bytes as \xHH, invalid UTF-8 bytes as U+FFFD.
std::string printableText(std::string_view bytes);

}  // namespace ambersel::report
