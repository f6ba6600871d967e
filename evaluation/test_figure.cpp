#include "evaluation/test_figure.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "evaluation/figure_powers.h"

namespace ambersel {
namespace {

constexpr double kLevelDivisor = 20;
constexpr double kAmplitudeScale = 1e-06;
constexpr double kFrequencyDivisor = 1000;
constexpr double kFrequencyMultiplier = 1000000;
// 4 pi cut to ten significant digits; the figure is defined with this value, not with pi.
constexpr double kWFactor = 12.56637061;
// One unit in the last place above the double nearest to 0.475166 (0x3FDE691EA78AF3E5).
constexpr double kZFactor = 0.47516600000000003;
constexpr double kDFactor = 135;
constexpr float kPassLimit = 1;

constexpr float toSingle(double value) {
    return static_cast<float>(value);
}

// The figure's arithmetic, shared by the fast loop and the explaining report. Every rounding to
// single precision below is part of the figure's definition.

// The steps that depend on the level alone.
struct LevelSteps {
    float a = 0.0F;
    float b = 0.0F;
    float V = 0.0F;
};

LevelSteps levelSteps(float level) {
    const float a = toSingle(double{level} / kLevelDivisor);
    const float b = tenToThe(a);
    const float V = toSingle(double{b} * kAmplitudeScale);
    return {a, b, V};
}

// The remaining steps of one point, from its level in volts to the running figure after it.
PointContribution completeContribution(float frequency, LevelSteps level, float figureSoFar) {
    const double x = frequency;
    const float Z = frequencyPowerLaw(x / kFrequencyDivisor * kFrequencyMultiplier);
    const double w = x * kWFactor / kFrequencyDivisor;
    const double s = std::sqrt(1 + w * w);
    const float K = toSingle((s * double{level.V}) / (double{Z} * kZFactor));
    const float D = toSingle(x * kDFactor / kFrequencyDivisor);
    const double term = double{K} / double{D};
    const float figure = toSingle(term + double{figureSoFar});
    return PointContribution{level.a, level.b, level.V, Z, w, s, K, D, term, figure};
}

// Room for every hundredth of a decibel across 160 dB.
constexpr std::size_t kLargestLevelTable = std::size_t{1} << 14;

// IEEE arithmetic leaves the sign of a NaN result open, and a compiler may swap the operands of a
// sum, so two builds (or the fast loop and the report) could end the same list with NaNs of
// either sign. One NaN stands for them all, so that the line is the same everywhere: the default
// NaN of the common desktop processors, which prints as "-nan".
float canonicalFigure(float figure) {
    return std::isnan(figure) ? std::copysign(std::numeric_limits<float>::quiet_NaN(), -1.0F)
                              : figure;
}

std::string formatLine(const TestVerdict& verdict) {
    // "%0.4f" of the figure widened to double, written without the C locale's decimal separator.
    std::array<char, 400> text{};
    constexpr std::string_view kFail = "FAIL : F = ";
    constexpr std::string_view kPass = "PASS : F = ";
    const std::string_view prefix = verdict.failed ? kFail : kPass;
    const double figure = verdict.figure;
    const auto written =
        std::to_chars(text.data(), text.data() + text.size(), figure, std::chars_format::fixed, 4);
    std::string line(prefix);
    line.append(text.data(), written.ptr);
    return line;
}

}  // namespace

PointContribution contributeToTestFigure(FrequencyLevelPoint point, float figureSoFar) {
    PointContribution contribution =
        completeContribution(point.frequency, levelSteps(point.level), figureSoFar);
    contribution.runningFigure = canonicalFigure(contribution.runningFigure);
    return contribution;
}

bool passesTestFigure(float figure) {
    return figure >= 0 && figure <= kPassLimit;
}

// A list of millions of points holds a few thousand distinct levels, since instruments write them
// with two decimals, and V depends on the level alone: each entry holds a level's bits and the V
// that levelSteps() gives for it, so a hit gives exactly what the computation gives.
PointTerms::PointTerms(std::size_t points)
    : m_entries(std::min(std::bit_ceil(std::max<std::size_t>(points, 1)), kLargestLevelTable),
                Entry{std::bit_cast<std::uint32_t>(0.0F), levelSteps(0.0F).V}),
      m_mask(m_entries.size() - 1) {}

float PointTerms::voltsOf(float level) {
    const auto bits = std::bit_cast<std::uint32_t>(level);
    // Neighbouring hundredths of a decibel take neighbouring entries.
    const float hundredths = level * 100.0F;
    constexpr float kSlotRange = 1e9F;
    const std::size_t slot =
        std::fabs(hundredths) < kSlotRange
            ? static_cast<std::size_t>(static_cast<std::int64_t>(hundredths)) & m_mask
            : 0;
    Entry& entry = m_entries[slot];
    if (entry.levelBits != bits) {
        entry = Entry{bits, levelSteps(level).V};
    }
    return entry.volts;
}

double PointTerms::termOf(FrequencyLevelPoint point) {
    const LevelSteps level{0.0F, 0.0F, voltsOf(point.level)};
    return completeContribution(point.frequency, level, 0.0F).term;
}

float addedTerm(float figureSoFar, double term) {
    return toSingle(term + double{figureSoFar});
}

TestVerdict verdictOn(float runningFigure) {
    const float figure = canonicalFigure(runningFigure);
    return TestVerdict{figure, !passesTestFigure(figure)};
}

TestVerdict evaluateTestFigure(const FrequencyLevelList& list) {
    float figure = 0;
    PointTerms terms(list.size());
    for (const FrequencyLevelPoint& point : list) {
        figure = addedTerm(figure, terms.termOf(point));
    }
    return verdictOn(figure);
}

std::string formatVerdictUtf8(const TestVerdict& verdict) {
    return formatLine(verdict);
}

std::u16string formatVerdict(const TestVerdict& verdict) {
    const std::string line = formatLine(verdict);
    // The line is plain ASCII: letters, digits, signs and the full stop.
    return std::u16string(line.begin(), line.end());
}

}  // namespace ambersel
