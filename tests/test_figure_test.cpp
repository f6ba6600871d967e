#include "evaluation/test_figure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "tests/test_files.h"

namespace ambersel {
namespace {

using testing::bitsOf;

TEST(FigureBits, FollowEveryRoundingPoint) {
    struct Row {
        const char* name;
        FrequencyLevelList points;
        std::uint32_t figureBits;
        const char* line;
    };
    const FrequencyLevelList kNinePoints(9, FrequencyLevelPoint{1000, 100});
    const Row rows[] = {
        {"empty_list_passes_with_zero", {}, 0x00000000, "PASS : F = 0.0000"},
        {"one_point_at_100_dB", {{1000, 100}}, 0x3DF7E5F5, "PASS : F = 0.1210"},
        {"one_point_at_120_dB_fails", {{1000, 120}}, 0x3F9AEFB9, "FAIL : F = 1.2104"},
        {"two_points_in_list_order", {{1000, 100}, {30, 60}}, 0x3E00CE04, "PASS : F = 0.1258"},
        {"same_points_in_other_order_differ_in_last_bit",
         {{30, 60}, {1000, 100}},
         0x3E00CE03,
         "PASS : F = 0.1258"},
        {"nine_equal_points_sum_above_one", kNinePoints, 0x3F8B715A, "FAIL : F = 1.0894"},
        {"tiny_figure_prints_as_zero", {{1000000, 40}}, 0x371757D1, "PASS : F = 0.0000"},
        {"just_below_one_passes", {{1000, 118.3411F}}, 0x3F7FFFCB, "PASS : F = 1.0000"},
        {"just_above_one_fails_though_it_prints_as_one",
         {{1000, 118.3412F}},
         0x3F800041,
         "FAIL : F = 1.0000"},
        {"zero_frequency_gives_infinity_and_fails", {{0, 50}}, 0x7F800000, "FAIL : F = inf"},
        {"negative_zero_frequency_gives_minus_infinity_and_fails",
         {{-0.0F, 50}},
         0xFF800000,
         "FAIL : F = -inf"},
        {"negative_frequency_poisons_a_failing_list_and_still_fails",
         {{1000, 120}, {-5, 40}},
         0xFFC00000,
         "FAIL : F = -nan"},
        {"huge_level_overflows_to_infinity", {{1000, 1000}}, 0x7F800000, "FAIL : F = inf"},
        {"not_a_number_of_either_sign_is_the_same_line",
         {{1000, std::numeric_limits<float>::quiet_NaN()}},
         0xFFC00000,
         "FAIL : F = -nan"},
        {"realistic_scan_rounds_at_every_step",
         {{797272330.5F, 61.99F}, {1903195.5F, 47.32F}, {3263379.6F, 31.59F}, {526281.8F, 33.34F}},
         0x37DC5F06,
         "PASS : F = 0.0000"},
        {"four_pi_is_cut_to_ten_digits", {{148561.2F, 37.86F}}, 0x3794FF93, "PASS : F = 0.0000"},
        {"level_of_minus_infinity_adds_nothing",
         {{1000, 100}, {1000, -std::numeric_limits<float>::infinity()}},
         0x3DF7E5F5,
         "PASS : F = 0.1210"}};
    for (const Row& row : rows) {
        const TestVerdict verdict = evaluateTestFigure(row.points);
        EXPECT_EQ(bitsOf(verdict.figure), row.figureBits)
            << row.name << ": " << std::hexfloat << verdict.figure;
        EXPECT_EQ(formatVerdictUtf8(verdict), row.line) << row.name;
    }
}

TEST(Verdict, PassesOnlyBetweenZeroAndOneInclusive) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
    for (const float figure : {0.0F, -0.0F, 1.0F}) {
        EXPECT_TRUE(passesTestFigure(figure)) << figure;
    }
    for (const float figure :
         {std::nextafter(1.0F, 2.0F), std::nextafter(0.0F, -1.0F), kInf, -kInf, kNan, -kNan}) {
        EXPECT_FALSE(passesTestFigure(figure)) << figure;
    }
}

TEST(Verdict, LineMatchesPrintfInTheCLocaleForAnyFigure) {
    // Exact ties in the fifth decimal (0.03125), non-finite values and random bit patterns.
    std::mt19937 random(7);
    constexpr float kLargest = std::numeric_limits<float>::max();
    constexpr float kSmallest = std::numeric_limits<float>::denorm_min();
    std::vector<float> figures = {0.03125F, 0.00005F, 0.99995F, 1.00005F,
                                  1e30F,    -2.5F,    kLargest, kSmallest};
    for (int i = 0; i < 20000; ++i) {
        figures.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
    }
    for (const float figure : figures) {
        std::array<char, 128> expected{};
        std::snprintf(expected.data(), expected.size(), "%0.4f", static_cast<double>(figure));
        if (std::isnan(figure)) {
            // The C library on Windows drops the sign of a NaN; the line keeps it everywhere.
            std::snprintf(expected.data(), expected.size(), "%s",
                          std::signbit(figure) ? "-nan" : "nan");
        }
        const TestVerdict verdict{figure, !passesTestFigure(figure)};
        const std::string line = formatVerdictUtf8(verdict);
        ASSERT_EQ(line.substr(11), expected.data()) << std::hexfloat << figure;
        ASSERT_EQ(line.substr(0, 11), verdict.failed ? "FAIL : F = " : "PASS : F = ");
    }
}

// The figure computes V once per distinct level and reuses it; the explaining report computes
// every point afresh. Both must end on the same F, whatever the levels and their order.
FrequencyLevelList everyHundredthTwiceShuffled() {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> frequency(9e3F, 1e9F);
    FrequencyLevelList list;
    for (int hundredths = -10000; hundredths <= 20000; ++hundredths) {
        const float level = static_cast<float>(hundredths) / 100.0F;
        list.push_back({frequency(random), level});
        list.push_back({frequency(random), level});
    }
    std::shuffle(list.begin(), list.end(), random);
    return list;
}

TEST(PointContributions, LastRunningFigureIsTheFigure) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    // Zero of either sign, levels beyond any instrument, every hundredth from -100 to 200 dB.
    const FrequencyLevelList rows[] = {
        {{1000, 0.0F}, {1000, -0.0F}, {1000, 0.0F}},
        {{1000, -1e30F}, {1000, -kInf}, {1000, 1e-30F}, {1000, 100}, {1000, -1e30F}},
        everyHundredthTwiceShuffled()};
    for (const FrequencyLevelList& points : rows) {
        float running = 0;
        for (const FrequencyLevelPoint& point : points) {
            running = contributeToTestFigure(point, running).runningFigure;
        }
        EXPECT_EQ(bitsOf(running), bitsOf(evaluateTestFigure(points).figure))
            << points.size() << " points";
    }
}

}  // namespace
}  // namespace ambersel
