#include "text/value_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "text/byte_text.h"

namespace ambersel {
namespace {

template <typename Value, typename... Format>
std::string charsOf(Value value, Format... format) {
    // Room for any double in fixed form with 40 decimals.
    std::array<char, 400> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value, format...);
    return std::string(text.data(), written.ptr);
}

// "12.34%" for 12.34: two decimals, and no sign where it rounds to zero.
std::string percentNumberText(double percent) {
    const std::string text = decimalsText(percent, 2);
    return (text == "-0.00" ? "0.00" : text) + "%";
}

}  // namespace

std::string shortestText(float value) {
    return charsOf(value);
}

std::string shortestText(double value) {
    return charsOf(value);
}

std::string roundedText(double value, int digits) {
    return charsOf(value, std::chars_format::general, digits);
}

std::string decimalsText(double value, int decimals) {
    return charsOf(value, std::chars_format::fixed, decimals);
}

std::string frequencyText(double hertz, int digits) {
    if (std::isinf(hertz)) {
        return hertz > 0 ? "+inf" : "-inf";
    }
    struct Unit {
        double scale;
        const char* name;
    };
    constexpr std::array<Unit, 3> kUnits{{{1e9, " GHz"}, {1e6, " MHz"}, {1e3, " kHz"}}};
    // Without the rounding edge, 999.6 Hz to three digits would read "1e+03 Hz".
    const double roundingEdge = 1 - 0.5 * std::pow(10.0, -digits);
    for (const Unit& unit : kUnits) {
        if (std::fabs(hertz) >= unit.scale * roundingEdge) {
            return roundedText(hertz / unit.scale, digits) + unit.name;
        }
    }
    return roundedText(hertz, digits) + " Hz";
}

std::string countText(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string percentText(double fraction) {
    return percentNumberText(fraction * 100);
}

std::string percentText(std::optional<double> fraction, std::string_view none) {
    return fraction ? percentText(*fraction) : std::string(none);
}

std::string percentOfCount(std::size_t part, std::size_t whole) {
    return percentNumberText(100.0 * static_cast<double>(part) / static_cast<double>(whole));
}

double roundedMargin(double margin) {
    const double rounded = std::round(margin * 100) / 100;
    return rounded == 0 ? 0.0 : rounded;
}

std::string marginText(std::optional<double> margin) {
    if (!margin) {
        return "none";
    }
    // Rounded first, so that a margin that prints as 0.00 carries no sign it cannot show.
    const double rounded = roundedMargin(*margin);
    return (rounded > 0 ? "+" : "") + decimalsText(rounded, 2) + " dB";
}

std::string floatBitsText(float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        text.push_back(hexDigit(bits >> static_cast<unsigned>(shift), LetterCase::Upper));
    }
    return text;
}

}  // namespace ambersel
