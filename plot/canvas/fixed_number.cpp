#include "plot/canvas/fixed_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace ambersel::plot {

void appendFixedNumber(std::string& out, double value, int decimals) {
    constexpr double kFarthest = 1e9;
    if (!std::isfinite(value)) {
        value = 0;
    }
    value = std::clamp(value, -kFarthest, kFarthest);
    // A billion with up to 17 decimals fits.
    std::array<char, 48> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                      std::chars_format::fixed, std::clamp(decimals, 0, 17));
    std::string_view number(digits.data(), static_cast<std::size_t>(result.ptr - digits.data()));
    if (number.find('.') != std::string_view::npos) {
        while (number.ends_with('0')) {
            number.remove_suffix(1);
        }
        if (number.ends_with('.')) {
            number.remove_suffix(1);
        }
    }
    out += number == "-0" ? std::string_view("0") : number;
}

}  // namespace ambersel::plot
