#include "plot/layout/scale.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

namespace {

// Whether every two neighbouring labels of `lines` keep `gap` apart.
bool labelsApart(const std::vector<AxisLine>& lines, double gap, const MeasureText& measure) {
    double end = -std::numeric_limits<double>::infinity();
    for (const AxisLine& line : lines) {
        if (line.label.empty()) {
            continue;
        }
        if (line.labelAt.x < end + gap) {
            return false;
        }
        end = line.labelAt.x + measure(line.label, TextRole::AxisLabel).width;
    }
    return true;
}

class FrequencyLines {
  public:
    FrequencyLines(const Scale& scale, double labelBaseline, const MeasureText& measure)
        : m_scale(scale), m_labelBaseline(labelBaseline), m_measure(measure) {}

    // Lines at round steps, about `wanted` of them, each labelled: for less than a decade.
    std::vector<AxisLine> roundSteps(int wanted) const {
        std::vector<AxisLine> lines;
        const double low = std::pow(10.0, m_scale.range.low);
        const double high = std::pow(10.0, m_scale.range.high);
        for (const double hertz : multiplesWithin(low, high, niceStep(high - low, wanted))) {
            add(lines, std::log10(hertz), true, true);
        }
        return lines;
    }

    // A line at each of 1 to 9 times each decade; every `every`th decade labelled, and 2 and 5
    // times each decade with `subdivisions`.
    std::vector<AxisLine> decades(bool subdivisions, int every) const {
        std::vector<AxisLine> lines;
        const Range& f = m_scale.range;
        const auto lowest = static_cast<int>(std::floor(f.low));
        const auto highest = static_cast<int>(std::ceil(f.high));
        for (int decade = lowest; decade <= highest; ++decade) {
            const bool labelled = (decade % every + every) % every == 0;
            for (int factor = 1; factor <= 9; ++factor) {
                const double at = decade + std::log10(double(factor));
                if (at >= f.low && at <= f.high) {
                    add(lines, at, factor == 1,
                        factor == 1 ? labelled : subdivisions && (factor == 2 || factor == 5));
                }
            }
        }
        return lines;
    }

  private:
    void add(std::vector<AxisLine>& lines, double at, bool major, bool labelled) const {
        AxisLine& line = lines.emplace_back();
        line.at = m_scale.place(at);
        line.major = major;
        if (labelled) {
            line.label = frequencyText(std::pow(10.0, at), kLabelDigits);
            line.labelAt = {line.at - m_measure(line.label, TextRole::AxisLabel).width / 2,
                            m_labelBaseline};
        }
    }

    const Scale& m_scale;
    double m_labelBaseline;
    const MeasureText& m_measure;
};

}  // namespace

std::vector<AxisLine> frequencyLines(const Scale& scale, double labelBaseline,
                                     const MeasureText& measure, std::optional<double> labelGap) {
    const FrequencyLines lines(scale, labelBaseline, measure);
    const auto apart = [&](const std::vector<AxisLine>& candidate) {
        return !labelGap || labelsApart(candidate, *labelGap, measure);
    };
    const Range& f = scale.range;
    if (f.span() < 1) {
        constexpr int kWantedSteps = 6;
        for (int wanted = kWantedSteps; wanted > 1; --wanted) {
            if (std::vector<AxisLine> candidate = lines.roundSteps(wanted); apart(candidate)) {
                return candidate;
            }
        }
        return lines.roundSteps(1);
    }
    if (f.span() <= 3.2) {
        if (std::vector<AxisLine> candidate = lines.decades(true, 1); apart(candidate)) {
            return candidate;
        }
    }
    const auto decades = static_cast<int>(std::ceil(f.span()));
    for (int every = 1;; every = every == 1 ? 2 : every == 2 ? 5 : every * 2) {
        std::vector<AxisLine> candidate = lines.decades(false, every);
        if (every >= decades || apart(candidate)) {
            return candidate;
        }
    }
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
