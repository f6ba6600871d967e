#include "evaluation/test_figure.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace ambersel {
namespace {

constexpr double kLevelDivisor = 20;
constexpr double kPowerBase = 10;
constexpr double kAmplitudeScale = 1e-06;
constexpr double kFrequencyDivisor = 1000;
constexpr double kFrequencyMultiplier = 1000000;
constexpr double kZExponent = 0.5283;
constexpr double kZSlope = 3.629e-05;
constexpr double kZOffset = 0.1087;
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
template <typename Record>
float addPoint(FrequencyLevelPoint point, float figureSoFar, Record&& record) {
    const double x = point.frequency;
    const float a = toSingle(double{point.level} / kLevelDivisor);
    const float b = toSingle(std::pow(kPowerBase, double{a}));
    const float V = toSingle(double{b} * kAmplitudeScale);
    const float Z = toSingle(
        kZSlope * std::pow(x / kFrequencyDivisor * kFrequencyMultiplier, kZExponent) + kZOffset);
    const double w = x * kWFactor / kFrequencyDivisor;
    const double s = std::sqrt(1 + w * w);
    const float K = toSingle((s * double{V}) / (double{Z} * kZFactor));
    const float D = toSingle(x * kDFactor / kFrequencyDivisor);
    const double term = double{K} / double{D};
    const float figure = toSingle(term + double{figureSoFar});
    record(PointContribution{a, b, V, Z, w, s, K, D, term, figure});
    return figure;
}

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
    PointContribution contribution;
    addPoint(point, figureSoFar, [&](const PointContribution& c) { contribution = c; });
    contribution.runningFigure = canonicalFigure(contribution.runningFigure);
    return contribution;
}

bool passesTestFigure(float figure) {
    return figure >= 0 && figure <= kPassLimit;
}

TestVerdict evaluateTestFigure(const FrequencyLevelList& list) {
    float figure = 0;
    for (const FrequencyLevelPoint& point : list) {
        figure = addPoint(point, figure, [](const PointContribution&) {});
    }
    figure = canonicalFigure(figure);
    return TestVerdict{figure, !passesTestFigure(figure)};
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
