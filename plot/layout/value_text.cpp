#include "plot/layout/value_text.h"

#include <array>
#include <charconv>

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

}  // namespace ambersel::plot
