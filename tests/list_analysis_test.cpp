#include "evaluation/list_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "evaluation/test_figure.h"

namespace ambersel {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(Margin, IsTheLevelChangeThatBringsFToOneWhereThereIsOne) {
    struct Row {
        float figure;
        std::optional<double> margin;
    };
    const Row rows[] = {{1.0F, 0.0},          {0.1F, 20.0},          {10.0F, -20.0},
                        {0.0F, std::nullopt}, {-0.5F, std::nullopt}, {kInf, std::nullopt},
                        {kNaN, std::nullopt}};
    for (const Row& row : rows) {
        const std::optional<double> margin = marginDb(row.figure);
        ASSERT_EQ(margin.has_value(), row.margin.has_value()) << row.figure;
        EXPECT_NEAR(margin.value_or(0), row.margin.value_or(0), 1e-6) << row.figure;
    }
}

TEST(DecadeEdges, SpanTheList) {
    struct Row {
        const char* name;
        FrequencyLevelList list;
        std::vector<double> edges;
    };
    const Row rows[] = {
        {"a conducted scan", {{150e3F, 40}, {30e6F, 40}}, {1e5, 1e6, 1e7, 1e8}},
        {"an exact power of ten starts its decade", {{1e6F, 40}}, {1e6, 1e7}},
        {"the highest on a power of ten closes the last", {{2e6F, 1}, {1e7F, 1}}, {1e6, 1e7}},
        {"in any order", {{5e8F, 1}, {9e3F, 1}}, {1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9}},
        {"damaged frequencies left out",
         {{-5, 1}, {kNaN, 1}, {0, 1}, {kInf, 1}, {2e4F, 1}},
         {1e4, 1e5}},
        {"no usable frequency, no edges", {{-5, 1}, {0, 1}}, {}},
        {"sub-hertz edges are the nearest doubles of their powers of ten",
         {{2e-6F, 1}, {0.5F, 1}},
         {1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1}},
        {"edges past 1e22 are the nearest doubles of their powers of ten",
         {{3e23F, 1}, {5e30F, 1}},
         {1e23, 1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31}},
        {"the smallest frequency there is has a decade", {{1e-45F, 1}}, {1e-45, 1e-44}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(decadeEdges(row.list), row.edges) << row.name;
    }
}

// The bands of `list` between `edges`, as its analysis gives them.
std::vector<BandShare> shareByBand(const FrequencyLevelList& list, std::vector<double> edges) {
    return analyseList(list, {}, {false, true, std::move(edges), 0}).bands;
}

std::uint32_t bitsOf(double value) {
    return static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(value) >> 32U) ^
           static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(value));
}

// Every output reads the one analysis: its terms and F must be the figure's own to the bit, and
// what a scope leaves out must not change what it keeps.
TEST(ListAnalysis, IsTheFiguresOwnWhateverItsScope) {
    const FrequencyLevelList list{{150e3F, 60},    {1e6F, 95.5F}, {kNaN, 40},  {2e6F, 101},
                                  {30e6F, 20.25F}, {-5, 40},      {1000, 120}, {1e6F, 95.5F}};
    const FrequencyLevelList finite(list.begin(), list.begin() + 2);
    const struct {
        const char* name;
        FrequencyLevelList points;
        AnalysisScope scope;
    } rows[] = {
        {"the verdict alone", finite, {}},
        {"terms kept for a picture", finite, {true, false, {}, 0}},
        {"a record's scope", finite, recordScope()},
        {"a NaN term ranks first and makes F a NaN", list, recordScope({1e5, 1e6, 1e7})},
        {"more heaviest points than points", list, {false, false, {}, 50}},
    };
    for (const auto& row : rows) {
        const ListAnalysis analysis = analyseList(row.points, {}, row.scope);
        const TestVerdict verdict = evaluateTestFigure(row.points);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(analysis.verdict.figure),
                  std::bit_cast<std::uint32_t>(verdict.figure))
            << row.name << ": F is not the figure's";
        EXPECT_EQ(analysis.terms.size(), row.scope.terms ? row.points.size() : 0U) << row.name;
        float running = 0;
        for (std::size_t index = 0; index < analysis.terms.size(); ++index) {
            const PointContribution step = contributeToTestFigure(row.points[index], running);
            running = step.runningFigure;
            EXPECT_EQ(bitsOf(analysis.terms[index]), bitsOf(step.term))
                << row.name << ": term " << index << " differs from the figure's";
        }
        EXPECT_EQ(analysis.heaviest.size(), std::min(row.scope.heaviest, row.points.size()))
            << row.name;
        for (std::size_t rank = 1; rank < analysis.heaviest.size(); ++rank) {
            const double before = analysis.heaviest[rank - 1].term;
            const double after = analysis.heaviest[rank].term;
            EXPECT_TRUE(std::isnan(before) || std::fabs(before) >= std::fabs(after))
                << row.name << ": rank " << rank << " out of order";
        }
        EXPECT_EQ(analysis.bands.empty(), !row.scope.bands) << row.name;
        EXPECT_EQ(analysis.margin, marginDb(verdict.figure)) << row.name;
    }
}

// One rule decides where bands lie, for one list and for several on one picture.
TEST(BandEdgesFor, AreTheGivenEdgesOrTheDecadesTheListsSpanTogether) {
    const FrequencyLevelList low{{1e3F, 1}};
    const FrequencyLevelList high{{1e4F, 1}};
    const FrequencyLevelList none{{-1, 1}};
    const struct {
        const char* name;
        std::vector<double> given;
        std::vector<const FrequencyLevelList*> lists;
        std::vector<double> edges;
    } rows[] = {
        {"two given edges win", {150e3, 30e6}, {&low}, {150e3, 30e6}},
        {"one given edge is no band: decades", {150e3}, {&low}, {1e3, 1e4}},
        {"one list's own decades", {}, {&high}, {1e4, 1e5}},
        {"lists together span each one's decades", {}, {&low, &high}, {1e3, 1e4, 1e5}},
        {"a list without a frequency adds nothing", {}, {&none, &low}, {1e3, 1e4}},
        {"no frequency anywhere: no bands", {}, {&none}, {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(bandEdgesFor(row.given, row.lists), row.edges) << row.name;
    }
}

TEST(ShareByBand, PutsEachPointInOneBandWithEdgesGoingUp) {
    const FrequencyLevelList list{{1e6F, 60},  {150e3F, 60}, {10e6F, 60}, {30e6F, 60},
                                  {40e6F, 60}, {100e3F, 60}, {kNaN, 60}};
    const std::vector<BandShare> bands = shareByBand(list, {150e3, 1e6, 10e6, 30e6});
    ASSERT_EQ(bands.size(), 6U);
    const std::size_t counts[] = {1, 1, 2, 1, 1, 1};
    const BandPlace places[] = {BandPlace::Between, BandPlace::Between, BandPlace::Between,
                                BandPlace::Below,   BandPlace::Above,   BandPlace::NoFrequency};
    for (std::size_t band = 0; band < bands.size(); ++band) {
        EXPECT_EQ(bands[band].pointCount, counts[band]) << "band " << band;
        EXPECT_EQ(bands[band].place, places[band]) << "band " << band;
    }
    EXPECT_TRUE(bands[5].marginWithout.has_value()) << "without the damaged point";

    // Leaving a band out is evaluated as the list without it, in list order, not subtracted from
    // F: terms far apart in size, interleaved across bands, so that F rounds differently when a
    // band's terms are added in another order or taken away afterwards.
    const struct {
        FrequencyLevelPoint point;
        std::size_t band;  // 0 to 2 between the edges, 3 below, 4 above
    } mixed[] = {
        {{2e5F, 120}, 0},    {{3e6F, 20.01F}, 1}, {{2e5F, 20.02F}, 0}, {{4e7F, 90}, 4},
        {{5e6F, 110}, 1},    {{1e5F, 20.03F}, 3}, {{2e7F, 115}, 2},    {{6e5F, 20.04F}, 0},
        {{2e7F, 20.05F}, 2}, {{7e6F, 20.06F}, 1}, {{1e5F, 118}, 3},    {{3e5F, 20.07F}, 0},
    };
    FrequencyLevelList mixedList;
    for (const auto& [point, band] : mixed) {
        mixedList.push_back(point);
    }
    const std::vector<BandShare> mixedBands = shareByBand(mixedList, {150e3, 1e6, 10e6, 30e6});
    ASSERT_EQ(mixedBands.size(), 5U);
    for (std::size_t band = 0; band < mixedBands.size(); ++band) {
        FrequencyLevelList rest;
        for (const auto& [point, in] : mixed) {
            if (in != band) {
                rest.push_back(point);
            }
        }
        EXPECT_EQ(std::bit_cast<std::uint32_t>(mixedBands[band].figureWithout),
                  std::bit_cast<std::uint32_t>(evaluateTestFigure(rest).figure))
            << "band " << band;
    }

    // Empty bands between edges stay; outside bands only when used.
    const std::vector<BandShare> one = shareByBand({{2e6F, 60}}, {1e5, 1e6, 1e7, 1e8});
    ASSERT_EQ(one.size(), 3U);
    EXPECT_EQ(one[0].pointCount + one[2].pointCount, 0U);
    EXPECT_EQ(one[0].figureWithout, evaluateTestFigure({{2e6F, 60}}).figure);
    EXPECT_EQ(one[1].figureWithout, 0.0F);
    EXPECT_FALSE(one[1].marginWithout.has_value());
}

}  // namespace
}  // namespace ambersel
