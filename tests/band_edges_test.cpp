#include "cli/band_edges.h"

#include <gtest/gtest.h>

namespace ambersel::cli {
namespace {

struct EdgesRow {
    const char* name;
    const char* text;
    std::vector<double> edges;  // empty: refused
};

class BandEdgesOption : public ::testing::TestWithParam<EdgesRow> {};

TEST_P(BandEdgesOption, ReadsIncreasingFrequenciesWithUnits) {
    const auto parsed = parseBandEdges(GetParam().text);
    if (GetParam().edges.empty()) {
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed));
        EXPECT_FALSE(std::get<std::string>(parsed).empty());
    } else {
        ASSERT_TRUE(std::holds_alternative<std::vector<double>>(parsed))
            << std::get<std::string>(parsed);
        EXPECT_EQ(std::get<std::vector<double>>(parsed), GetParam().edges);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BandEdgesOption,
    ::testing::Values(EdgesRow{"conducted_bands", "150k,1M,10M,30M", {150e3, 1e6, 10e6, 30e6}},
                      EdgesRow{"fractions_and_plain_hertz", "9000,2.5G", {9000, 2.5e9}},
                      EdgesRow{"decreasing_edges_are_refused", "1M,150k", {}},
                      EdgesRow{"a_repeated_edge_is_refused", "1M,1M,2M", {}},
                      EdgesRow{"one_edge_makes_no_band", "1M", {}},
                      EdgesRow{"an_empty_item_is_refused", "150k,,1M", {}},
                      EdgesRow{"a_word_is_refused", "low,high", {}},
                      EdgesRow{"an_unknown_unit_is_refused", "150x,1M", {}},
                      EdgesRow{"a_lower_case_m_is_not_mega", "150k,1m", {}},
                      EdgesRow{"zero_is_no_frequency", "0,1M", {}},
                      EdgesRow{"negative_is_no_frequency", "-1k,1M", {}},
                      EdgesRow{"infinity_is_no_frequency", "1k,inf", {}},
                      EdgesRow{"exponents_are_not_asked_for", "1e3,1e6", {}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace ambersel::cli
