#pragma once

// The test figure F over a frequency-level list, and the verdict drawn from it.
//
// Each point (x in Hz as read, L in dB relative to one microvolt) contributes one term; F is their
// sum in list order, kept in single precision. Intermediate arithmetic is IEEE double, one
// operation at a time with no fused multiply-add, rounded to single precision at fixed points, so
// that F is the same to the last bit on every conforming platform. The test passes only when
// 0 <= F <= 1; an F that is not a number, negative or above 1 fails.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "evaluation/frequency_level_list.h"

namespace ambersel {

struct TestVerdict {
    float figure = 0.0F;  // F
    bool failed = false;  // true unless 0 <= F <= 1
};

// Every intermediate value of one point's contribution, for reports that explain a verdict.
struct PointContribution {
    float a = 0.0F;              // L / 20
    float b = 0.0F;              // 10^a
    float V = 0.0F;              // level in volts
    float Z = 0.0F;              // frequency power law
    double w = 0.0;              // x * 4pi / 1000
    double s = 0.0;              // sqrt(1 + w^2)
    float K = 0.0F;              // (s * V) / (Z * Z factor)
    float D = 0.0F;              // x * 135 / 1000
    double term = 0.0;           // K / D, before it is added to F
    float runningFigure = 0.0F;  // F after this point
};

// Adds one point to the running figure, recording every intermediate. evaluateTestFigure() runs
// exactly these operations, so the last running figure of a list equals its F to the bit.
PointContribution contributeToTestFigure(FrequencyLevelPoint point, float figureSoFar);

// F over the whole list in list order; an empty list gives F = 0, a pass. A figure that is not a
// number is always the same NaN, the one with the sign bit set, whatever NaN the arithmetic made;
// the same holds for runningFigure above.
TestVerdict evaluateTestFigure(const FrequencyLevelList& list);

// The terms of many points, one after the other, exactly as evaluateTestFigure() computes them:
// for analyses that need every point's term, or several figures over parts of one list. Much
// cheaper than contributeToTestFigure() point by point, since a long list repeats its levels.
class PointTerms {
  public:
    // Sized for a list of `points` points; any number of points may follow.
    explicit PointTerms(std::size_t points);

    // contributeToTestFigure(point, 0).term, to the bit.
    double termOf(FrequencyLevelPoint point);

  private:
    // A level's bits and its level in volts.
    struct Entry {
        std::uint32_t levelBits;
        float volts;
    };
    float voltsOf(float level);

    std::vector<Entry> m_entries;
    std::size_t m_mask;
};

// The running figure after one more term, rounded as evaluateTestFigure() rounds it.
float addedTerm(float figureSoFar, double term);

// The verdict on a running figure once every term is in: evaluateTestFigure() of the same terms.
TestVerdict verdictOn(float runningFigure);

// True when the figure passes: 0 <= figure <= 1.
bool passesTestFigure(float figure);

// The result line, "PASS : F = 0.1210" or "FAIL : F = 1.2104": F widened to double and printed
// with four decimals, a full stop as decimal separator whatever the process locale, and "inf",
// "-inf", "nan" or "-nan" for a figure that is not finite.
std::u16string formatVerdict(const TestVerdict& verdict);

// The same line in UTF-8, for the command line and reports.
std::string formatVerdictUtf8(const TestVerdict& verdict);

}  // namespace ambersel
