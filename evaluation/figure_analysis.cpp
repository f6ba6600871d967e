#include "evaluation/figure_analysis.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <queue>

#include "evaluation/test_figure.h"

namespace ambersel {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The double nearest to 10^k, as a correctly rounded conversion gives it on every platform; a
// running product or pow() may be a unit in the last place off, and differently so elsewhere.
double powerOfTen(int k) {
    std::array<char, 16> text{'1', 'e'};
    const char* end = std::to_chars(text.data() + 2, text.data() + text.size(), k).ptr;
    double power = 0;
    std::from_chars(text.data(), end, power);
    return power;
}

// The index in the bands that shareByBand() lays out: the between-bands first, then below,
// above and without frequency.
std::size_t bandIndexOf(float frequency, const std::vector<double>& edges) {
    const std::size_t between = edges.size() - 1;
    const double x = frequency;
    if (std::isnan(x)) {
        return between + 2;
    }
    if (x < edges.front()) {
        return between;
    }
    if (x > edges.back()) {
        return between + 1;
    }
    std::size_t band = 0;
    while (band + 1 < between && x >= edges[band + 1]) {
        ++band;
    }
    return band;
}

bool ranksAbove(const RankedPoint& a, const RankedPoint& b) {
    const bool aNan = std::isnan(a.term);
    const bool bNan = std::isnan(b.term);
    if (aNan != bNan) {
        return aNan;
    }
    const double aSize = aNan ? 0 : std::fabs(a.term);
    const double bSize = bNan ? 0 : std::fabs(b.term);
    if (aSize != bSize) {
        return aSize > bSize;
    }
    return a.index < b.index;
}

}  // namespace

std::optional<double> marginDb(float figure) {
    if (!std::isfinite(figure) || figure <= 0) {
        return std::nullopt;
    }
    return -20 * std::log10(double{figure});
}

double roundedMargin(double margin) {
    const double rounded = std::round(margin * 100) / 100;
    return rounded == 0 ? 0.0 : rounded;
}

std::optional<double> shareOfFigure(double term, float figure) {
    if (!std::isfinite(figure) || figure == 0) {
        return std::nullopt;
    }
    return term / double{figure};
}

std::vector<double> decadeEdges(const FrequencyLevelList& list) {
    double lowest = kInfinity;
    double highest = 0;
    for (const FrequencyLevelPoint& point : list) {
        const double x = point.frequency;
        if (std::isfinite(x) && x > 0) {
            lowest = std::min(lowest, x);
            highest = std::max(highest, x);
        }
    }
    if (highest == 0) {
        return {};
    }
    return decadeEdges(lowest, highest);
}

std::vector<double> decadeEdges(double lowest, double highest) {
    // The logarithm only guesses; the edges themselves decide, so that a frequency of exactly an
    // edge starts its own decade.
    auto power = static_cast<int>(std::floor(std::log10(lowest)));
    while (powerOfTen(power) > lowest) {
        --power;
    }
    while (powerOfTen(power + 1) <= lowest) {
        ++power;
    }
    std::vector<double> edges{powerOfTen(power)};
    do {
        edges.push_back(powerOfTen(++power));
    } while (edges.back() < highest);
    return edges;
}

std::vector<BandShare> shareByBand(const FrequencyLevelList& list,
                                   const std::vector<double>& edges) {
    const std::size_t between = edges.size() - 1;
    std::vector<BandShare> bands(between + 3);
    for (std::size_t band = 0; band < between; ++band) {
        bands[band].lower = edges[band];
        bands[band].upper = edges[band + 1];
    }
    const auto outside = [&](std::size_t band, BandPlace place, double lower, double upper) {
        bands[band].place = place;
        bands[band].lower = lower;
        bands[band].upper = upper;
    };
    outside(between, BandPlace::Below, -kInfinity, edges.front());
    outside(between + 1, BandPlace::Above, edges.back(), kInfinity);
    outside(between + 2, BandPlace::NoFrequency, kInfinity, kInfinity);

    std::vector<std::size_t> bandOfPoint(list.size());
    for (std::size_t index = 0; index < list.size(); ++index) {
        const std::size_t band = bandIndexOf(list[index].frequency, edges);
        bandOfPoint[index] = band;
        bands[band].pointCount += 1;
        bands[band].sumOfTerms += contributeToTestFigure(list[index], 0.0F).term;
    }

    const float figure = evaluateTestFigure(list).figure;
    FrequencyLevelList rest;
    for (std::size_t band = 0; band < bands.size(); ++band) {
        BandShare& share = bands[band];
        if (std::isfinite(figure) && figure != 0) {
            share.share = share.sumOfTerms / double{figure};
        }
        if (share.pointCount == 0) {
            share.figureWithout = figure;
            share.marginWithout = marginDb(figure);
            continue;
        }
        // Evaluated, not subtracted: F's running sum rounds at every point, and only the list
        // itself says what F would have been.
        rest.clear();
        for (std::size_t index = 0; index < list.size(); ++index) {
            if (bandOfPoint[index] != band) {
                rest.push_back(list[index]);
            }
        }
        share.figureWithout = evaluateTestFigure(rest).figure;
        share.marginWithout = marginDb(share.figureWithout);
    }

    std::erase_if(bands, [](const BandShare& share) {
        return share.place != BandPlace::Between && share.pointCount == 0;
    });
    return bands;
}

std::vector<RankedPoint> heaviestPoints(const FrequencyLevelList& list, std::size_t count) {
    if (count == 0) {
        return {};
    }
    // A bounded heap whose top is the lightest point kept.
    std::priority_queue<RankedPoint, std::vector<RankedPoint>, decltype(&ranksAbove)> kept(
        &ranksAbove);
    for (std::size_t index = 0; index < list.size(); ++index) {
        const RankedPoint candidate{index, list[index],
                                    contributeToTestFigure(list[index], 0.0F).term};
        if (kept.size() < count) {
            kept.push(candidate);
        } else if (ranksAbove(candidate, kept.top())) {
            kept.pop();
            kept.push(candidate);
        }
    }
    std::vector<RankedPoint> heaviest;
    heaviest.reserve(kept.size());
    while (!kept.empty()) {
        heaviest.push_back(kept.top());
        kept.pop();
    }
    std::reverse(heaviest.begin(), heaviest.end());
    return heaviest;
}

}  // namespace ambersel
