#include "plot/drawing/chart_colours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace ambersel::plot {
namespace {

std::uint8_t channel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

Colour shadeColour(double shade) {
    struct Stop {
        double at;
        Colour colour;
    };
    static constexpr Stop kStops[] = {{0.0, {0xa6, 0xce, 0xe3}},
                                      {0.35, {0xff, 0xd5, 0x4f}},
                                      {0.7, {0xf5, 0x7c, 0x00}},
                                      {1.0, {0xa5, 0x0f, 0x15}}};
    const double t = std::isnan(shade) ? 0 : std::clamp(shade, 0.0, 1.0);
    std::size_t segment = 0;
    while (segment + 2 < std::size(kStops) && t > kStops[segment + 1].at) {
        ++segment;
    }
    const Stop& from = kStops[segment];
    const Stop& to = kStops[segment + 1];
    const double u = (t - from.at) / (to.at - from.at);
    auto mix = [u](std::uint8_t a, std::uint8_t b) { return channel(a + (b - a) * u); };
    return {mix(from.colour.red, to.colour.red), mix(from.colour.green, to.colour.green),
            mix(from.colour.blue, to.colour.blue)};
}

Colour seriesColour(const SeriesStyle& style) {
    // Blue and vermilion first: the two lists of a before-and-after are the most unlike.
    static constexpr std::array<Colour, kSeriesColours> kPalette = {
        Colour{0x00, 0x72, 0xb2}, Colour{0xd5, 0x5e, 0x00}, Colour{0x00, 0x9e, 0x73},
        Colour{0xcc, 0x79, 0xa7}, Colour{0x56, 0xb4, 0xe9}, Colour{0xe6, 0x9f, 0x00},
        Colour{0x00, 0x00, 0x00}};
    return kPalette[style.colour % kPalette.size()];
}

Colour towardsWhite(Colour colour, double strength) {
    const double t = std::isnan(strength) ? 0 : std::clamp(strength, 0.0, 1.0);
    auto mix = [t](std::uint8_t value) { return channel(255 + (value - 255) * t); };
    return {mix(colour.red), mix(colour.green), mix(colour.blue), colour.alpha};
}

Colour darker(Colour colour, double factor) {
    // Scaling every channel alike keeps hue and saturation and scales the value.
    auto scaled = [factor](std::uint8_t value) { return channel(value / factor); };
    return {scaled(colour.red), scaled(colour.green), scaled(colour.blue), colour.alpha};
}

double lightness(Colour colour) {
    const auto [weakest, strongest] = std::minmax({colour.red, colour.green, colour.blue});
    return (weakest + strongest) / 510.0;
}

}  // namespace ambersel::plot
