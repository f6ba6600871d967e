#pragma once

// The texts of a list's results that every output shares (lines, reports, the dialogs' Details),
// so that all say exactly the same. Plain numbers are written by text/value_text.h.

#include <optional>
#include <string>
#include <string_view>

#include "evaluation/list_analysis.h"
#include "text/byte_text.h"
#include "text/value_text.h"

namespace ambersel {

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

}  // namespace ambersel
