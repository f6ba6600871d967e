#pragma once

// What an engineer asks of a figure beyond its verdict: how far F is from the limit in decibels,
// and which frequency bands it comes from.

#include <cstddef>
#include <optional>
#include <vector>

#include "evaluation/frequency_level_list.h"

namespace ambersel {

// The uniform level change, in dB, that brings F to exactly 1: every term is proportional to
// 10^(level/20), so lowering every level by m dB divides F by 10^(m/20), and m = 20 log10(1/F).
// Positive: the list passes with m dB to spare; negative: every level must come down by |m| dB.
// Nothing where F is zero, negative or not finite, since no level change reaches 1 from there.
std::optional<double> marginDb(float figure);

// A margin as it is printed, rounded to 0.01 dB; a margin that rounds to zero is +0.
double roundedMargin(double margin);

// Where a band lies on the frequency axis. Bands between two edges hold [lower, upper); the last
// of them also holds its upper edge. Points outside every edge, and points whose frequency is not
// a number, are gathered in bands of their own, so that every point lands in exactly one band.
enum class BandPlace {
    Between,      // between two given edges
    Below,        // below the lowest edge
    Above,        // above the highest edge
    NoFrequency,  // frequency not a number
};

// One band's part in F.
struct BandShare {
    BandPlace place = BandPlace::Between;
    double lower = 0;  // Hz; -inf below the lowest edge
    double upper = 0;  // Hz; +inf above the highest edge
    std::size_t pointCount = 0;
    // The band's terms added in list order in double precision. The bands' sums add up to F to
    // within the rounding of F's single-precision running sum (half a unit in the last place of
    // the running sum at each point).
    double sumOfTerms = 0;
    // sumOfTerms / F; nothing when F is zero or not finite.
    std::optional<double> share;
    // F of the same list without this band's points, evaluated exactly as the list itself would
    // be, and its margin.
    float figureWithout = 0;
    std::optional<double> marginWithout;
};

// Band edges for `list`: the decades its positive finite frequencies span, from the power of ten
// at or below the lowest to the power of ten at or above the highest (at least one decade). Empty
// when the list has no positive finite frequency.
std::vector<double> decadeEdges(const FrequencyLevelList& list);

// The edges at the powers of ten from the one at or below `lowest` to the one at or above
// `highest` (at least one decade), for `lowest` and `highest` frequencies of a list, positive and
// finite. Each edge is the double nearest to its power of ten, so that bands are the same on every
// platform.
std::vector<double> decadeEdges(double lowest, double highest);

// Every point's band and its part in F. `edges` must be strictly increasing (at least two).
// Gives every band between two edges, empty or not, in frequency order, then a band below, above
// and without frequency only where such points exist. Throws std::bad_alloc when memory runs out.
std::vector<BandShare> shareByBand(const FrequencyLevelList& list,
                                   const std::vector<double>& edges);

// The fraction of F that one term makes up, when F is a finite, non-zero number.
std::optional<double> shareOfFigure(double term, float figure);

// A point and its term in F.
struct RankedPoint {
    std::size_t index = 0;  // 0-based position in the list
    FrequencyLevelPoint point;
    double term = 0;
};

// The `count` points that weigh most in F, heaviest first: a term that is not a number first (it
// alone makes F not a number), then by the size of the term, ties in list order. Costs memory for
// `count` points only, however long the list.
std::vector<RankedPoint> heaviestPoints(const FrequencyLevelList& list, std::size_t count);

}  // namespace ambersel
