#include "cli/number_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>

namespace ambersel::cli {
namespace {

std::string charsOf(auto value) {
    // Room for the shortest form of any double, "-2.2250738585072014e-308".
    std::array<char, 32> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), written.ptr);
}

}  // namespace

std::string shortestText(float value) {
    return charsOf(value);
}

std::string shortestText(double value) {
    return charsOf(value);
}

std::string bitsText(float value) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    const auto bits = std::bit_cast<std::uint32_t>(value);
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        text.push_back(kDigits[(bits >> shift) & 0xFU]);
    }
    return text;
}

std::string escapedBytes(std::string_view bytes, bool keepNonAscii) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const bool control = byte < 0x20 || byte == 0x7F;
        if (c == '\\') {
            text += "\\\\";
        } else if (control || (byte > 0x7F && !keepNonAscii)) {
            text += "\\x";
            text.push_back(kDigits[byte >> 4U]);
            text.push_back(kDigits[byte & 0xFU]);
        } else {
            text.push_back(c);
        }
    }
    return text;
}

}  // namespace ambersel::cli
