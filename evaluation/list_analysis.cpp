#include "evaluation/list_analysis.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <queue>

namespace ambersel {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

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

std::vector<BandShare> bandsLaidOut(const std::vector<double>& edges) {
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
    return bands;
}

}  // namespace

std::optional<double> marginDb(float figure) {
    if (!std::isfinite(figure) || figure <= 0) {
        return std::nullopt;
    }
    return -20 * std::log10(double{figure});
}

double powerOfTen(int exponent) {
    std::array<char, 16> text{'1', 'e'};
    const char* end = std::to_chars(text.data() + 2, text.data() + text.size(), exponent).ptr;
    double power = 0;
    std::from_chars(text.data(), end, power);
    return power;
}

int decadeOf(double value) {
    // The logarithm only guesses; the powers themselves decide, so that a value of exactly a
    // power of ten starts its own decade.
    auto exponent = static_cast<int>(std::floor(std::log10(value)));
    while (powerOfTen(exponent) > value) {
        --exponent;
    }
    while (powerOfTen(exponent + 1) <= value) {
        ++exponent;
    }
    return exponent;
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
    int power = decadeOf(lowest);
    std::vector<double> edges{powerOfTen(power)};
    do {
        edges.push_back(powerOfTen(++power));
    } while (edges.back() < highest);
    return edges;
}

std::vector<double> bandEdgesFor(const std::vector<double>& given,
                                 std::span<const FrequencyLevelList* const> lists) {
    if (given.size() >= 2) {
        return given;
    }
    double lowest = kInfinity;
    double highest = 0;
    for (const FrequencyLevelList* list : lists) {
        const std::vector<double> decades = decadeEdges(*list);
        if (!decades.empty()) {
            lowest = std::min(lowest, decades.front());
            highest = std::max(highest, decades.back());
        }
    }
    if (highest == 0) {
        return {};
    }
    return decadeEdges(lowest, highest);
}

std::vector<BandShare> shareByBand(const FrequencyLevelList& points, std::span<const double> terms,
                                   const std::vector<double>& edges) {
    std::vector<BandShare> bands = bandsLaidOut(edges);
    // F without each band, evaluated rather than subtracted: F's running sum rounds at every
    // point, and only the list itself says what F would have been. One pass adds each term to the
    // running figure of every band but its own, in list order, as the list without that band
    // would add it.
    float figure = 0;
    std::vector<float> figuresWithout(bands.size(), 0.0F);
    for (std::size_t index = 0; index < points.size(); ++index) {
        const std::size_t band = bandIndexOf(points[index].frequency, edges);
        const double term = terms[index];
        bands[band].pointCount += 1;
        bands[band].sumOfTerms += term;
        figure = addedTerm(figure, term);
        for (std::size_t other = 0; other < figuresWithout.size(); ++other) {
            if (other != band) {
                figuresWithout[other] = addedTerm(figuresWithout[other], term);
            }
        }
    }
    figure = verdictOn(figure).figure;
    for (std::size_t band = 0; band < bands.size(); ++band) {
        BandShare& share = bands[band];
        share.share = shareOfFigure(share.sumOfTerms, figure);
        // A band without points leaves every term in: its figure is F.
        share.figureWithout = verdictOn(figuresWithout[band]).figure;
        share.marginWithout = marginDb(share.figureWithout);
    }
    std::erase_if(bands, [](const BandShare& share) {
        return share.place != BandPlace::Between && share.pointCount == 0;
    });
    return bands;
}

std::vector<RankedPoint> heaviestPoints(const FrequencyLevelList& points,
                                        std::span<const double> terms, std::size_t count) {
    if (count == 0) {
        return {};
    }
    // A bounded heap whose top is the lightest point kept.
    std::priority_queue<RankedPoint, std::vector<RankedPoint>, decltype(&ranksAbove)> kept(
        &ranksAbove);
    for (std::size_t index = 0; index < points.size(); ++index) {
        const RankedPoint candidate{index, points[index], terms[index], std::nullopt};
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

ListAnalysis analyseList(FrequencyLevelList points, ReadingStop stop, const AnalysisScope& scope) {
    ListAnalysis analysis;
    analysis.points = std::move(points);
    analysis.stop = std::move(stop);
    const FrequencyLevelList& list = analysis.points;
    if (!scope.terms && !scope.bands && scope.heaviest == 0) {
        analysis.verdict = evaluateTestFigure(list);
    } else {
        std::vector<double> terms(list.size());
        PointTerms pointTerms(list.size());
        float figure = 0;
        for (std::size_t index = 0; index < list.size(); ++index) {
            terms[index] = pointTerms.termOf(list[index]);
            figure = addedTerm(figure, terms[index]);
        }
        analysis.verdict = verdictOn(figure);
        if (scope.bands) {
            const FrequencyLevelList* const lists[] = {&list};
            analysis.bandEdges = bandEdgesFor(scope.bandEdges, lists);
            if (!analysis.bandEdges.empty()) {
                analysis.bands = shareByBand(list, terms, analysis.bandEdges);
            }
        }
        analysis.heaviest = heaviestPoints(list, terms, scope.heaviest);
        for (RankedPoint& heavy : analysis.heaviest) {
            heavy.share = shareOfFigure(heavy.term, analysis.verdict.figure);
        }
        if (scope.terms) {
            analysis.terms = std::move(terms);
        }
    }
    analysis.margin = marginDb(analysis.verdict.figure);
    return analysis;
}

}  // namespace ambersel
