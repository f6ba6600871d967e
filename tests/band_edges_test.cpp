#include "cli/band_edges.h"

#include <gtest/gtest.h>

namespace ambersel::cli {
namespace {

TEST(BandEdgesOption, ReadsIncreasingFrequenciesWithUnits) {
    const std::pair<const char*, std::vector<double>> read[] = {
        {"150k,1M,10M,30M", {150e3, 1e6, 10e6, 30e6}}, {"9000,2.5G", {9000, 2.5e9}}};
    for (const auto& [text, edges] : read) {
        const auto parsed = parseBandEdges(text);
        ASSERT_TRUE(std::holds_alternative<std::vector<double>>(parsed)) << text;
        EXPECT_EQ(std::get<std::vector<double>>(parsed), edges);
    }
    // Decreasing, repeated, a single edge, an empty item, words, an unknown unit, a lower-case m,
    // no frequency (zero, negative, infinite), and exponents, which are not asked for.
    for (const char* text : {"1M,150k", "1M,1M,2M", "1M", "150k,,1M", "low,high", "150x,1M",
                             "150k,1m", "0,1M", "-1k,1M", "1k,inf", "1e3,1e6"}) {
        const auto parsed = parseBandEdges(text);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << text << " is refused";
        EXPECT_FALSE(std::get<std::string>(parsed).empty()) << text;
    }
}

}  // namespace
}  // namespace ambersel::cli
