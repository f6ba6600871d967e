#pragma once

// Numbers as the documents the program writes them (SVG, PDF): fixed notation, never an exponent
// or a decimal comma, whatever the locale, the same bytes on every platform.

#include <string>

namespace ambersel::plot {

// Appends `value` with at most `decimals` decimals and no trailing zeros; "0" for what is not a
// finite number, and never "-0". Magnitudes beyond a billion are cut to it: no picture or page
// reaches that far, and readers need not meet numbers they cannot hold.
void appendFixedNumber(std::string& out, double value, int decimals);

}  // namespace ambersel::plot
