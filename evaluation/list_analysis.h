#pragma once

// The one analysis of a list: everything any output says of it, computed once from its points in
// the job that read it. Its verdict, every point's term (double, exactly as evaluateTestFigure()
// computes it), its margin, its share of F by frequency band and its heaviest points; every output
// (lines, JSON, tables, pictures, reports, Details) reads this value and computes nothing of the
// figure again.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "evaluation/frequency_level_list.h"
#include "evaluation/test_figure.h"

namespace ambersel {

// The uniform level change, in dB, that brings F to exactly 1: every term is proportional to
// 10^(level/20), so lowering every level by m dB divides F by 10^(m/20), and m = 20 log10(1/F).
// Positive: the list passes with m dB to spare; negative: every level must come down by |m| dB.
// Nothing where F is zero, negative or not finite, since no level change reaches 1 from there.
std::optional<double> marginDb(float figure);

// The double nearest to 10^exponent, as a correctly rounded conversion gives it on every platform;
// a running product or pow() may be a unit in the last place off, and differently so elsewhere.
double powerOfTen(int exponent);

// The power of ten at or below `value` (positive, finite): the exponent k with 10^k <= value <
// 10^(k+1), decided by the exact powers themselves.
int decadeOf(double value);

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
// finite.
std::vector<double> decadeEdges(double lowest, double highest);

// The one rule for where bands lie: between `given` when it names at least two edges; otherwise
// on the decades that the decades of each of `lists` span together (empty when no list has a
// frequency above 0).
std::vector<double> bandEdgesFor(const std::vector<double>& given,
                                 std::span<const FrequencyLevelList* const> lists);

// Every point's band and its part in F, from the points and their terms (list order). `edges`
// must be strictly increasing (at least two). Gives every band between two edges, empty or not, in
// frequency order, then a band below, above and without frequency only where such points exist.
std::vector<BandShare> shareByBand(const FrequencyLevelList& points, std::span<const double> terms,
                                   const std::vector<double>& edges);

// The fraction of F that one term makes up, when F is a finite, non-zero number.
std::optional<double> shareOfFigure(double term, float figure);

// A point and its term in F.
struct RankedPoint {
    std::size_t index = 0;  // 0-based position in the list
    FrequencyLevelPoint point;
    double term = 0;
    std::optional<double> share;  // of F (shareOfFigure()), once F is known
};

// The `count` points that weigh most in F, heaviest first: a term that is not a number first (it
// alone makes F not a number), then by the size of the term, ties in list order. Costs memory for
// `count` points only, however long the list.
std::vector<RankedPoint> heaviestPoints(const FrequencyLevelList& points,
                                        std::span<const double> terms, std::size_t count);

// What of the analysis the outputs of a run need beyond the verdict and the margin.
struct AnalysisScope {
    bool terms = false;  // every point's term (pictures weigh points by it)
    bool bands = false;  // the share of F by band
    // The band edges asked for, in Hz; fewer than two: the decades the list spans.
    std::vector<double> bandEdges;
    std::size_t heaviest = 0;  // how many of the heaviest points
};

// How many of a list's heaviest points its record names.
inline constexpr std::size_t kRecordedContributors = 10;

// The scope of a list's record: its picture's terms, its bands between `bandEdges` (fewer than two:
// decades) and its ten heaviest points.
inline AnalysisScope recordScope(std::vector<double> bandEdges = {}) {
    return {true, true, std::move(bandEdges), kRecordedContributors};
}

// One list and all that is known of it.
struct ListAnalysis {
    FrequencyLevelList points;
    ReadingStop stop;
    TestVerdict verdict;
    std::optional<double> margin;
    // Every point's term in list order, when the scope asked for them; else empty.
    std::vector<double> terms;
    // Where the bands lie (bandEdgesFor()); empty when no band was asked for, or the list has no
    // frequency to place one by.
    std::vector<double> bandEdges;
    std::vector<BandShare> bands;
    std::vector<RankedPoint> heaviest;  // as many as the scope asked for, heaviest first
};

// The analysis of `points`, read up to `stop`, as far as `scope` asks. Throws std::bad_alloc when
// memory runs out.
ListAnalysis analyseList(FrequencyLevelList points, ReadingStop stop, const AnalysisScope& scope);

}  // namespace ambersel
