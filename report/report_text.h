#pragma once

// The report's texts for the parts of a list record, shared by its HTML and PDF forms and the
// dialog's details so that all say exactly the same. Plain numbers are written by
// evaluation/value_text.h.

#include <optional>
#include <string>
#include <string_view>

#include "evaluation/figure_analysis.h"
#include "evaluation/value_text.h"

namespace ambersel::report {

// Report frequencies carry six significant digits: "150 kHz", "2.5 GHz", "1.23457 MHz".
constexpr int kFrequencyDigits = 6;

// What the margin means for the device: "passes with 40.71 dB to spare", "every level must come
// down by 1.66 dB", "no level change reaches the limit".
std::string marginMeaning(std::optional<double> margin);

// The band as text: "150 kHz - 1 MHz", "below 150 kHz", "above 30 MHz", "no frequency".
std::string bandText(const BandShare& band);

// What a record says in place of the facts of a file written to after it was read.
inline constexpr const char* kWrittenAfterReading =
    "none: the file was written to after it was read, so its size, time and SHA-256 would not be "
    "those of the list evaluated";

// The share as every output writes it; "-" where there is no share.
std::string percentText(std::optional<double> share);

// Bytes made safe for a report: control bytes as \xHH; invalid UTF-8 bytes, surrogates and the
// two code points that no XML may hold (U+FFFE, U+FFFF) as U+FFFD.
std::string printableText(std::string_view bytes);

}  // namespace ambersel::report
