#include "plot/layout/scale.h"

#include <algorithm>
#include <cmath>

#include "evaluation/list_analysis.h"

#include "text/value_text.h"

namespace ambersel::plot {

Range paddedRange(double low, double high, double emptyHalfWidth, double padding) {
    if (!(high - low > 1e-9)) {
        return {low - emptyHalfWidth, high + emptyHalfWidth};
    }
    const double pad = (high - low) * padding;
    return {low - pad, high + pad};
}

double niceStep(double span, int wanted) {
    const double raw = span / wanted;
    if (!(raw > 0) || !std::isfinite(raw)) {
        return 1;
    }
    const double decade = powerOfTen(decadeOf(raw));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * decade >= raw) {
            return factor * decade;
        }
    }
    return 10 * decade;
}

int decimalsOf(double step) {
    return std::max(0, -decadeOf(step));
}

std::vector<double> multiplesWithin(double low, double high, double step) {
    constexpr int kMostLines = 100;
    std::vector<double> values;
    const double first = std::ceil(low / step);
    for (int k = 0; k < kMostLines && (first + k) * step <= high; ++k) {
        values.push_back((first + k) * step);
    }
    return values;
}

std::vector<AxisLine> frequencyLines(const Scale& scale, double labelBaseline,
                                     const MeasureText& measure) {
    std::vector<AxisLine> lines;
    auto add = [&](double at, bool major, bool labelled) {
        AxisLine& line = lines.emplace_back();
        line.at = scale.place(at);
        line.major = major;
        if (labelled) {
            line.label = frequencyText(std::pow(10.0, at), kLabelDigits);
            line.labelAt = {line.at - measure(line.label, TextRole::AxisLabel).width / 2,
                            labelBaseline};
        }
    };
    const Range& f = scale.range;
    if (f.span() < 1) {
        const double low = std::pow(10.0, f.low);
        const double high = std::pow(10.0, f.high);
        for (const double hertz : multiplesWithin(low, high, niceStep(high - low, 6))) {
            add(std::log10(hertz), true, true);
        }
        return lines;
    }
    const bool labelSubdivisions = f.span() <= 3.2;
    const auto lowest = static_cast<int>(std::floor(f.low));
    const auto highest = static_cast<int>(std::ceil(f.high));
    for (int decade = lowest; decade <= highest; ++decade) {
        for (int factor = 1; factor <= 9; ++factor) {
            const double at = decade + std::log10(double(factor));
            if (at >= f.low && at <= f.high) {
                add(at, factor == 1,
                    factor == 1 || (labelSubdivisions && (factor == 2 || factor == 5)));
            }
        }
    }
    return lines;
}

std::vector<AxisLine> levelLines(const Scale& scale, double labelEnd, const MeasureText& measure) {
    std::vector<AxisLine> lines;
    const double step = niceStep(scale.range.span(), 8);
    for (const double level : multiplesWithin(scale.range.low, scale.range.high, step)) {
        AxisLine& line = lines.emplace_back();
        line.at = scale.place(level);
        line.major = true;
        // A multiple of the step that is zero but for rounding is labelled 0, not 1.4e-14.
        line.label = roundedText(std::abs(level) < step / 1e6 ? 0.0 : level, 6);
        line.labelAt = {labelEnd - measure(line.label, TextRole::AxisLabel).width, line.at + 5};
    }
    return lines;
}

}  // namespace ambersel::plot
