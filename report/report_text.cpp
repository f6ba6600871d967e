#include "report/report_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace ambersel::report {
namespace {

template <typename... Format>
std::string charsOf(double value, Format... format) {
    std::array<char, 400> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value, format...);
    return std::string(text.data(), written.ptr);
}

// The length of the valid UTF-8 sequence at the start of `bytes`, or 0.
std::size_t utf8Length(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    std::size_t length = 0;
    unsigned minimum = 0;
    unsigned code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, code = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, code = lead & 0x0FU;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, code = lead & 0x07U;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (std::size_t at = 1; at < length; ++at) {
        const auto next = static_cast<unsigned char>(bytes[at]);
        if ((next & 0xC0U) != 0x80U) {
            return 0;
        }
        code = (code << 6U) | (next & 0x3FU);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= minimum && code <= 0x10FFFF && !surrogate ? length : 0;
}

}  // namespace

std::string significantText(double value, int digits) {
    return charsOf(value, std::chars_format::general, digits);
}

std::string decimalsText(double value, int decimals) {
    return charsOf(value, std::chars_format::fixed, decimals);
}

std::string marginText(std::optional<double> margin) {
    if (!margin) {
        return "none";
    }
    // Rounded first, so that a margin that prints as 0.00 carries no sign it cannot show.
    const double rounded = roundedMargin(*margin);
    return (rounded > 0 ? "+" : "") + decimalsText(rounded, 2) + " dB";
}

std::string marginMeaning(std::optional<double> margin) {
    if (!margin) {
        return "no level change reaches the limit";
    }
    if (*margin >= 0) {
        return "passes with " + decimalsText(*margin, 2) + " dB to spare";
    }
    return "every level must come down by " + decimalsText(-*margin, 2) + " dB";
}

std::string frequencyText(double hertz) {
    if (std::isinf(hertz)) {
        return hertz > 0 ? "+inf" : "-inf";
    }
    struct Unit {
        double scale;
        const char* name;
    };
    constexpr std::array<Unit, 3> kUnits{{{1e9, " GHz"}, {1e6, " MHz"}, {1e3, " kHz"}}};
    for (const Unit& unit : kUnits) {
        if (std::fabs(hertz) >= unit.scale) {
            return significantText(hertz / unit.scale, 6) + unit.name;
        }
    }
    return significantText(hertz, 6) + " Hz";
}

std::string bandText(const BandShare& band) {
    switch (band.place) {
        case BandPlace::Between:
            return frequencyText(band.lower) + " - " + frequencyText(band.upper);
        case BandPlace::Below:
            return "below " + frequencyText(band.upper);
        case BandPlace::Above:
            return "above " + frequencyText(band.lower);
        case BandPlace::NoFrequency:
            break;
    }
    return "no frequency";
}

std::string percentText(std::optional<double> share) {
    return share ? decimalsText(*share * 100, 2) + "%" : "-";
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

std::string printableText(std::string_view bytes) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string text;
    while (!bytes.empty()) {
        const auto byte = static_cast<unsigned char>(bytes[0]);
        std::size_t length = 1;
        if (byte < 0x20 || byte == 0x7F) {
            text += "\\x";
            text.push_back(kDigits[byte >> 4U]);
            text.push_back(kDigits[byte & 0xFU]);
        } else if (byte < 0x80) {
            text.push_back(bytes[0]);
        } else if ((length = utf8Length(bytes)) > 0) {
            text.append(bytes.substr(0, length));
        } else {
            length = 1;
            text += "\xEF\xBF\xBD";
        }
        bytes.remove_prefix(length);
    }
    return text;
}

}  // namespace ambersel::report
