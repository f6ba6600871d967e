#include "evaluation/power_law.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace ambersel {
namespace {

constexpr double kZExponent = 0.5283;
constexpr double kZSlope = 3.629e-05;
constexpr double kZOffset = 0.1087;

// y = 2^k m with 1 <= m < 2 is taken apart by its bits. The leading fraction bits of m pick the
// entry c = 1 + i / kEntries, c <= m < c + 1 / kEntries, so that m = c (1 + r) with
// 0 <= r < 2^-8, and y^e = (2^k)^e c^e (1 + r)^e exactly.
constexpr int kIndexBits = 8;
constexpr std::size_t kEntries = std::size_t{1} << kIndexBits;
constexpr int kFractionBits = 52;
constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << kFractionBits) - 1;
constexpr std::uint64_t kExponentBias = 1023;
// The powers of two that frequencies in single precision reach once scaled: a float from 2^-149
// to 2^128 times about 1000. Beyond them, and for zero, subnormal, negative, infinite and NaN
// values of y (whose exponent field puts them out of this range too), pow() decides.
constexpr int kLowestExponent = -150;
constexpr int kHighestExponent = 150;
constexpr std::size_t kSeriesTerms = 6;

// How far y^e from the tables may lie from pow()'s, relative to it. The tables' entries are
// pow()'s own, each within a unit in the last place (2^-52); r carries 2^-52 of its own, 2^-60
// of (1 + r); the series stops before a term below 0.02 r^6 < 2^-53, and its rounding, with that
// of the two products, adds 2^-51: 2^-50 in all, and pow()'s result another 2^-52. The margin is
// 64 times that, and still leaves the float in doubt for only one y in half a million.
constexpr double kDoubt = 0x1p-44;

struct PowerTables {
    std::array<double, kEntries> ofEntry{};                              // c^e
    std::array<double, kEntries> inverse{};                              // 1 / c
    std::array<double, kHighestExponent - kLowestExponent + 1> ofTwo{};  // (2^k)^e
    std::array<double, kSeriesTerms> series{};  // of (1 + r)^e: e over n, from n = 0
};

const PowerTables& powerTables() {
    static const PowerTables tables = [] {
        PowerTables made;
        for (std::size_t i = 0; i < kEntries; ++i) {
            const double c = 1.0 + static_cast<double>(i) / static_cast<double>(kEntries);
            made.ofEntry[i] = std::pow(c, kZExponent);
            made.inverse[i] = 1.0 / c;
        }
        for (int k = kLowestExponent; k <= kHighestExponent; ++k) {
            made.ofTwo[static_cast<std::size_t>(k - kLowestExponent)] =
                std::pow(std::ldexp(1.0, k), kZExponent);
        }
        double coefficient = 1;
        for (std::size_t n = 0; n < kSeriesTerms; ++n) {
            made.series[n] = coefficient;
            coefficient *= (kZExponent - static_cast<double>(n)) / static_cast<double>(n + 1);
        }
        return made;
    }();
    return tables;
}

float powerLawOfPower(double power) {
    return static_cast<float>(kZSlope * power + kZOffset);
}

}  // namespace

float frequencyPowerLawByPow(double y) {
    return powerLawOfPower(std::pow(y, kZExponent));
}

float frequencyPowerLaw(double y) {
    const auto bits = std::bit_cast<std::uint64_t>(y);
    // With the sign bit above the exponent field, a negative y lands far above the range.
    const int exponent = static_cast<int>(bits >> kFractionBits) - static_cast<int>(kExponentBias);
    if (exponent < kLowestExponent || exponent > kHighestExponent) {
        return frequencyPowerLawByPow(y);
    }
    const PowerTables& tables = powerTables();
    const std::uint64_t fraction = bits & kFractionMask;
    const auto entry = static_cast<std::size_t>(fraction >> (kFractionBits - kIndexBits));
    const double m = std::bit_cast<double>(fraction | (kExponentBias << kFractionBits));
    const double c = 1.0 + static_cast<double>(entry) / static_cast<double>(kEntries);
    // Exact: m and c share their exponent and c's bits lead m's.
    const double above = m - c;
    const double r = above * tables.inverse[entry];
    const std::array<double, kSeriesTerms>& a = tables.series;
    const double series = ((((a[5] * r + a[4]) * r + a[3]) * r + a[2]) * r + a[1]) * r + a[0];
    const double power = tables.ofTwo[static_cast<std::size_t>(exponent - kLowestExponent)] *
                         (tables.ofEntry[entry] * series);
    // Each operation from the power to the float rounds monotonically, so pow()'s power, which lies
    // between these two, gives the float they agree on.
    const float low = powerLawOfPower(power * (1 - kDoubt));
    const float high = powerLawOfPower(power * (1 + kDoubt));
    return low == high ? low : frequencyPowerLawByPow(y);
}

}  // namespace ambersel
