#include "evaluation/figure_analysis.h"

#include <gtest/gtest.h>

#include <limits>
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
    // Leaving a band out is evaluated as the list without it, not subtracted from F.
    const FrequencyLevelList withoutTheDamagedPoint(list.begin(), list.end() - 1);
    EXPECT_EQ(bands[5].figureWithout, evaluateTestFigure(withoutTheDamagedPoint).figure);
    EXPECT_TRUE(bands[5].marginWithout.has_value());

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
