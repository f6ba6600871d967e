#include "evaluation/figure_powers.h"

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

// How far a power from the tables may lie from pow()'s, relative to it. The tables hold pow()'s
// own values, each within a unit in the last place (2^-52); the series stop where the next term
// is below 2^-53, and their rounding and that of the products add about 2^-51: 2^-50 in all, and
// pow()'s result another 2^-52. The bound is 32 times that, and still leaves the float in doubt
// for only about one argument in half a million.
constexpr double kDoubt = 0x1p-44;

// The float that `power` rounds to, when pow()'s power, which lies within kDoubt of it, must round
// to the same: each operation from the power to the float rounds monotonically, so a float that
// both ends of the interval give is the one every power inside it gives.
template <typename ToFloat>
bool undoubtedFloat(double power, ToFloat toFloat, float& value) {
    const float low = toFloat(power * (1 - kDoubt));
    const float high = toFloat(power * (1 + kDoubt));
    value = low;
    return low == high;
}

// y = 2^k m with 1 <= m < 2, taken apart by its bits. The leading fraction bits of m pick the entry
// c = 1 + i / kEntries, c <= m < c + 1 / kEntries, so that m = c (1 + r) with 0 <= r < 2^-8 and
// y^e = (2^k)^e c^e (1 + r)^e exactly.
constexpr int kIndexBits = 8;
constexpr std::size_t kEntries = std::size_t{1} << kIndexBits;
constexpr int kFractionBits = 52;
constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << kFractionBits) - 1;
constexpr std::uint64_t kExponentBias = 1023;
// The powers of two that frequencies in single precision reach once scaled: a float from 2^-149
// to 2^128 times about 1000. Zero, subnormal, negative, infinite and NaN values of y have exponent
// fields outside this range too.
constexpr int kLowestTwo = -150;
constexpr int kHighestTwo = 150;
// Terms of (1 + r)^e up to r^5: the next is below 0.02 r^6 < 2^-53.
constexpr std::size_t kBinomialTerms = 6;

// a = q + j / kSteps + r with whole q, 0 <= j < kSteps and 0 <= r < 1 / kSteps, so that
// 10^a = 10^q 10^(j / kSteps) e^(r ln 10) exactly. Levels within +-900 dB: a within +-45, beyond
// which 10^a is no finite float above zero anyway.
constexpr int kStepBits = 8;
constexpr int kSteps = 1 << kStepBits;
constexpr int kLowestTen = -46;
constexpr int kHighestTen = 45;
constexpr double kLargestTenth = 45;
constexpr double kLnTen = 2.302585092994046;
// Terms of e^t up to t^6, t = r ln 10 < 0.009: the next is below 2^-60.
constexpr std::size_t kExponentialTerms = 7;

struct PowerTables {
    std::array<double, kEntries> ofEntry{};                         // c^e
    std::array<double, kEntries> inverse{};                         // 1 / c
    std::array<double, kHighestTwo - kLowestTwo + 1> ofTwo{};       // (2^k)^e
    std::array<double, kBinomialTerms> binomial{};                  // e over n, from n = 0
    std::array<double, kHighestTen - kLowestTen + 1> ofWholeTen{};  // 10^q
    std::array<double, kSteps> ofStep{};                            // 10^(j / kSteps)
    std::array<double, kExponentialTerms> exponential{};            // 1 / n!, from n = 0
};

PowerTables madeTables() {
    PowerTables made;
    for (std::size_t i = 0; i < kEntries; ++i) {
        const double c = 1.0 + static_cast<double>(i) / static_cast<double>(kEntries);
        made.ofEntry[i] = std::pow(c, kZExponent);
        made.inverse[i] = 1.0 / c;
    }
    for (int k = kLowestTwo; k <= kHighestTwo; ++k) {
        made.ofTwo[static_cast<std::size_t>(k - kLowestTwo)] =
            std::pow(std::ldexp(1.0, k), kZExponent);
    }
    double coefficient = 1;
    for (std::size_t n = 0; n < kBinomialTerms; ++n) {
        made.binomial[n] = coefficient;
        coefficient *= (kZExponent - static_cast<double>(n)) / static_cast<double>(n + 1);
    }
    for (int q = kLowestTen; q <= kHighestTen; ++q) {
        made.ofWholeTen[static_cast<std::size_t>(q - kLowestTen)] = std::pow(10.0, q);
    }
    for (int j = 0; j < kSteps; ++j) {
        made.ofStep[static_cast<std::size_t>(j)] = std::pow(10.0, static_cast<double>(j) / kSteps);
    }
    double factorial = 1;
    for (std::size_t n = 0; n < kExponentialTerms; ++n) {
        factorial *= n > 0 ? static_cast<double>(n) : 1.0;
        made.exponential[n] = 1 / factorial;
    }
    return made;
}

const PowerTables& powerTables() {
    static const PowerTables tables = madeTables();
    return tables;
}

float tenPowerToFloat(double power) {
    return static_cast<float>(power);
}

float powerLawOfPower(double power) {
    return static_cast<float>(kZSlope * power + kZOffset);
}

}  // namespace

float tenToTheByPow(float a) {
    return tenPowerToFloat(std::pow(10.0, double{a}));
}

float frequencyPowerLawByPow(double y) {
    return powerLawOfPower(std::pow(y, kZExponent));
}

float tenToThe(float a) {
    const double x = a;
    if (!(std::fabs(x) <= kLargestTenth)) {
        return tenToTheByPow(a);
    }
    const PowerTables& tables = powerTables();
    // Exact: a power of two times a float, the whole number below it, and the difference of two
    // numbers whose bits lie within 53 places of each other. C++ shifts a negative number
    // arithmetically, so whole and part are the floor of the quotient and its remainder.
    const double scaledUp = x * kSteps;
    int step = static_cast<int>(scaledUp);
    step -= static_cast<double>(step) > scaledUp ? 1 : 0;
    const int whole = step >> kStepBits;
    const int part = step & (kSteps - 1);
    const double r = x - static_cast<double>(step) / kSteps;
    const double t = r * kLnTen;
    const std::array<double, kExponentialTerms>& c = tables.exponential;
    const double series =
        (((((c[6] * t + c[5]) * t + c[4]) * t + c[3]) * t + c[2]) * t + c[1]) * t + c[0];
    const double power = tables.ofWholeTen[static_cast<std::size_t>(whole - kLowestTen)] *
                         (tables.ofStep[static_cast<std::size_t>(part)] * series);
    float value = 0;
    return undoubtedFloat(power, tenPowerToFloat, value) ? value : tenToTheByPow(a);
}

float frequencyPowerLaw(double y) {
    const auto bits = std::bit_cast<std::uint64_t>(y);
    // With the sign bit above the exponent field, a negative y lands far above the range.
    const int exponent = static_cast<int>(bits >> kFractionBits) - static_cast<int>(kExponentBias);
    if (exponent < kLowestTwo || exponent > kHighestTwo) {
        return frequencyPowerLawByPow(y);
    }
    const PowerTables& tables = powerTables();
    const std::uint64_t fraction = bits & kFractionMask;
    const auto entry = static_cast<std::size_t>(fraction >> (kFractionBits - kIndexBits));
    const double m = std::bit_cast<double>(fraction | (kExponentBias << kFractionBits));
    const double c = 1.0 + static_cast<double>(entry) / static_cast<double>(kEntries);
    // Exact: m and c share their exponent and c's bits lead m's.
    const double r = (m - c) * tables.inverse[entry];
    const std::array<double, kBinomialTerms>& a = tables.binomial;
    const double series = ((((a[5] * r + a[4]) * r + a[3]) * r + a[2]) * r + a[1]) * r + a[0];
    const double power = tables.ofTwo[static_cast<std::size_t>(exponent - kLowestTwo)] *
                         (tables.ofEntry[entry] * series);
    float value = 0;
    return undoubtedFloat(power, powerLawOfPower, value) ? value : frequencyPowerLawByPow(y);
}

}  // namespace ambersel
