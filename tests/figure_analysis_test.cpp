#include "evaluation/figure_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "evaluation/test_figure.h"

namespace ambersel {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct MarginRow {
    const char* name;
    float figure;
    std::optional<double> margin;
};

class Margin : public ::testing::TestWithParam<MarginRow> {};

TEST_P(Margin, IsTheLevelChangeThatBringsFToOne) {
    const MarginRow& row = GetParam();
    const std::optional<double> margin = marginDb(row.figure);
    ASSERT_EQ(margin.has_value(), row.margin.has_value());
    if (margin) {
        EXPECT_NEAR(*margin, *row.margin, 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Figures, Margin,
    ::testing::Values(MarginRow{"limit_itself_has_no_margin", 1.0F, 0.0},
                      MarginRow{"a_tenth_is_20_dB_to_spare", 0.1F, 20.0},
                      MarginRow{"ten_times_the_limit_is_20_dB_over", 10.0F, -20.0},
                      // 20 log10(1 / 0x3F9AEFB9), worked out by hand from the one-point list.
                      MarginRow{"one_point_at_120_dB", 1.21044075F, -1.6588708},
                      MarginRow{"zero_figure_has_no_margin", 0.0F, std::nullopt},
                      MarginRow{"negative_figure_has_no_margin", -0.5F, std::nullopt},
                      MarginRow{"infinite_figure_has_no_margin", kInf, std::nullopt},
                      MarginRow{"not_a_number_has_no_margin", kNaN, std::nullopt}),
    [](const auto& info) { return info.param.name; });

FrequencyLevelList scanOf(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> logFrequency(std::log(9e3), std::log(1e9));
    std::uniform_real_distribution<float> level(20.0F, 110.0F);
    FrequencyLevelList list;
    for (std::size_t index = 0; index < count; ++index) {
        list.push_back({static_cast<float>(std::exp(logFrequency(random))), level(random)});
    }
    return list;
}

TEST(Margin, FollowsAUniformLevelChange) {
    FrequencyLevelList raised = scanOf(5000, 7);
    const std::optional<double> before = marginDb(evaluateTestFigure(raised).figure);
    for (FrequencyLevelPoint& point : raised) {
        point.level += 6.02F;
    }
    const std::optional<double> after = marginDb(evaluateTestFigure(raised).figure);
    ASSERT_TRUE(before && after);
    EXPECT_NEAR(*before - *after, 6.02, 1e-4);
}

struct EdgesRow {
    const char* name;
    FrequencyLevelList list;
    std::vector<double> edges;
};

class DecadeEdges : public ::testing::TestWithParam<EdgesRow> {};

TEST_P(DecadeEdges, SpanTheList) {
    EXPECT_EQ(decadeEdges(GetParam().list), GetParam().edges);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, DecadeEdges,
    ::testing::Values(
        EdgesRow{"conducted_scan", {{150e3F, 40}, {30e6F, 40}}, {1e5, 1e6, 1e7, 1e8}},
        EdgesRow{"exact_power_of_ten_starts_its_decade", {{1e6F, 40}}, {1e6, 1e7}},
        EdgesRow{"highest_on_a_power_of_ten_closes_the_last", {{2e6F, 1}, {1e7F, 1}}, {1e6, 1e7}},
        EdgesRow{"order_of_the_list_does_not_matter",
                 {{5e8F, 1}, {9e3F, 1}},
                 {1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9}},
        EdgesRow{"damaged_frequencies_are_left_out",
                 {{-5, 1}, {kNaN, 1}, {0, 1}, {kInf, 1}, {20e3F, 1}},
                 {1e4, 1e5}},
        EdgesRow{"no_usable_frequency_gives_no_edges", {{-5, 1}, {0, 1}}, {}}),
    [](const auto& info) { return info.param.name; });

TEST(ShareByBand, PutsEachPointInOneBandWithEdgesGoingUp) {
    const FrequencyLevelList list{{1e6F, 60},  {150e3F, 60}, {10e6F, 60}, {30e6F, 60},
                                  {40e6F, 60}, {100e3F, 60}, {kNaN, 60}};
    const std::vector<BandShare> bands = shareByBand(list, {150e3, 1e6, 10e6, 30e6});
    ASSERT_EQ(bands.size(), 6U);
    const std::vector<std::size_t> counts{1, 1, 2, 1, 1, 1};
    const std::vector<BandPlace> places{BandPlace::Between, BandPlace::Between,
                                        BandPlace::Between, BandPlace::Below,
                                        BandPlace::Above,   BandPlace::NoFrequency};
    for (std::size_t band = 0; band < bands.size(); ++band) {
        EXPECT_EQ(bands[band].pointCount, counts[band]) << "band " << band;
        EXPECT_EQ(bands[band].place, places[band]) << "band " << band;
    }
    // Leaving a band out is evaluated as the list without it, not subtracted from F.
    const FrequencyLevelList withoutTheDamagedPoint(list.begin(), list.end() - 1);
    EXPECT_EQ(bands[5].figureWithout, evaluateTestFigure(withoutTheDamagedPoint).figure);
    EXPECT_TRUE(bands[5].marginWithout.has_value());
}

TEST(ShareByBand, EmptyBandsBetweenEdgesStayAndOutsideBandsOnlyWhenUsed) {
    const std::vector<BandShare> bands = shareByBand({{2e6F, 60}}, {1e5, 1e6, 1e7, 1e8});
    ASSERT_EQ(bands.size(), 3U);
    EXPECT_EQ(bands[0].pointCount, 0U);
    EXPECT_EQ(bands[1].pointCount, 1U);
    EXPECT_EQ(bands[2].pointCount, 0U);
    EXPECT_EQ(bands[0].figureWithout, evaluateTestFigure({{2e6F, 60}}).figure);
    EXPECT_EQ(bands[1].figureWithout, 0.0F);
    EXPECT_FALSE(bands[1].marginWithout.has_value());
}

TEST(ShareByBand, SumsAddUpToF) {
    const FrequencyLevelList list = scanOf(20000, 11);
    const float figure = evaluateTestFigure(list).figure;
    const std::vector<BandShare> bands = shareByBand(list, decadeEdges(list));
    double sum = 0;
    double shares = 0;
    std::size_t points = 0;
    for (const BandShare& band : bands) {
        sum += band.sumOfTerms;
        shares += band.share.value_or(0);
        points += band.pointCount;
    }
    EXPECT_EQ(points, list.size());
    // The running sum rounds to single precision at each of the n points: at most half a unit in
    // the last place of F each time.
    const double bound = list.size() * std::ldexp(double{figure}, -24);
    EXPECT_NEAR(sum, figure, bound);
    EXPECT_NEAR(shares, 1.0, bound / figure);
}

}  // namespace
}  // namespace ambersel
