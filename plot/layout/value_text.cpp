#include "plot/layout/value_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace ambersel::plot {

std::string roundedText(double value, int digits) {
    // Room for any double in general form with up to 40 significant digits.
    std::array<char, 64> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value,
                                       std::chars_format::general, digits);
    return std::string(text.data(), written.ptr);
}

std::string frequencyText(double hertz) {
    struct Unit {
        double scale;
        const char* name;
    };
    static constexpr Unit kUnits[] = {{1e9, " GHz"}, {1e6, " MHz"}, {1e3, " kHz"}, {1, " Hz"}};
    for (const Unit& unit : kUnits) {
        // Rounded to three digits, 999.6 Hz would read "1e+03 Hz".
        if (hertz >= unit.scale * 0.9995 || unit.scale == 1) {
            return roundedText(hertz / unit.scale, 3) + unit.name;
        }
    }
    return {};
}

std::string percentText(double fraction) {
    return roundedText(fraction * 100, 3) + "%";
}

std::string decibelText(double decibels) {
    // Rounded before it is written, so that the sign is the one of the digits shown.
    const double rounded = std::round(decibels * 100) / 100;
    std::array<char, 64> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(),
                                       rounded == 0 ? 0.0 : rounded, std::chars_format::fixed, 2);
    return (rounded > 0 ? "+" : "") + std::string(text.data(), written.ptr) + " dB";
}

std::string printableText(std::string_view bytes) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            text += "\\\\";
        } else if (byte < 0x20 || byte > 0x7E) {
            text += "\\x";
            text.push_back(kDigits[byte >> 4U]);
            text.push_back(kDigits[byte & 0xFU]);
        } else {
            text.push_back(c);
        }
    }
    return text;
}

}  // namespace ambersel::plot
