#pragma once

// Axes: the range of values an axis spans, where a value goes in the picture, and where the axis
// has its lines and labels.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plot/canvas/geometry.h"

namespace ambersel::plot {

// Labels on a chart carry three significant digits: "150 kHz", "12.3%".
constexpr int kLabelDigits = 3;

struct Range {
    double low = 0;
    double high = 1;
    double span() const { return high - low; }
};

// `low` to `high` widened by `padding` times its span on each side, or, when the two (nearly)
// coincide, the range of `emptyHalfWidth` on each side of them.
Range paddedRange(double low, double high, double emptyHalfWidth, double padding);

// Places the values of `range` along one direction of the picture: range.low at `origin`,
// range.high at origin + extent (a negative extent runs upwards). Frequency axes place the
// logarithm of the frequency.
struct Scale {
    Range range;
    double origin = 0;
    double extent = 1;

    // Where `value` lies in the range: 0 at its low end, 1 at its high end.
    double fraction(double value) const { return (value - range.low) / range.span(); }
    double place(double value) const { return origin + fraction(value) * extent; }
};

// The step among 1, 2 and 5 times a power of ten that cuts `span` into at most about `wanted`
// parts, from the exact powers of ten (powerOfTen()); 1 for a span that is no positive number.
double niceStep(double span, int wanted);

// How many decimals the multiples of `step`, a niceStep(), need to be written exactly.
int decimalsOf(double step);

// The multiples of `step` from `low` to `high`, at most 100 of them.
std::vector<double> multiplesWithin(double low, double high, double step);

// What a text is, for its font.
enum class TextRole {
    AxisLabel,
    PointLabel,
    BandLabel,
    LegendHeading,  // also a series' name in the legend
    LegendText,
};

// How large a text comes out in the picture; the painting side knows its fonts.
using MeasureText = std::function<TextExtent(std::string_view text, TextRole role)>;

// A grid line across the plot area and its label.
struct AxisLine {
    double at = 0;       // x of a frequency line, y of a level line
    bool major = false;  // drawn darker
    std::string label;   // empty: none
    Point labelAt;       // the start of the label's baseline
};

// The lines of a logarithmic frequency axis over `scale`. Decades get a line and a label; within a
// few decades 2 and 5 times a decade are labelled too. A span of less than a decade is labelled at
// round steps instead, so that the axis always shows a handful of values. Labels are centred under
// their lines, their baseline at `labelBaseline`. With a `labelGap`, labels that would come closer
// than it to their neighbours are thinned out until none do: the subdivisions first, then all but
// every second, fifth, tenth… decade, or the round steps made longer.
std::vector<AxisLine> frequencyLines(const Scale& scale, double labelBaseline,
                                     const MeasureText& measure,
                                     std::optional<double> labelGap = std::nullopt);

// The lines of a level axis over `scale` at round steps, labels ending `labelEnd` short of x.
std::vector<AxisLine> levelLines(const Scale& scale, double labelEnd, const MeasureText& measure);

}  // namespace ambersel::plot
