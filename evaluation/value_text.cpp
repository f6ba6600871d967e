#include "evaluation/value_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "evaluation/figure_analysis.h"

namespace ambersel {
namespace {

template <typename Value, typename... Format>
std::string charsOf(Value value, Format... format) {
    // Room for any double in fixed form with 40 decimals.
    std::array<char, 400> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value, format...);
    return std::string(text.data(), written.ptr);
}

constexpr std::string_view kLowerHexDigits = "0123456789abcdef";

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
    const std::string percent = decimalsText(fraction * 100, 2);
    return (percent == "-0.00" ? "0.00" : percent) + "%";
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
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    const auto bits = std::bit_cast<std::uint32_t>(value);
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        text.push_back(kDigits[(bits >> static_cast<unsigned>(shift)) & 0xFU]);
    }
    return text;
}

std::string escapedBytes(std::string_view bytes, bool keepNonAscii) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const bool control = byte < 0x20 || byte == 0x7F;
        if (c == '\\') {
            text += "\\\\";
        } else if (control || (byte > 0x7F && !keepNonAscii)) {
            text += "\\x";
            text.push_back(kLowerHexDigits[byte >> 4U]);
            text.push_back(kLowerHexDigits[byte & 0xFU]);
        } else {
            text.push_back(c);
        }
    }
    return text;
}

std::string markupText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace ambersel
