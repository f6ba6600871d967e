// Charts of evaluated lists: the margin in the title, the bands and their share
// of F, and several lists on one chart.

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "evaluation/test_figure.h"
#include "plot/layout/spectrum_chart.h"

namespace ambersel::testing {
namespace {

using namespace ambersel::plot;

constexpr float kNanFrequency = std::numeric_limits<float>::quiet_NaN();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// `points` under `name`, with their own verdict.
ChartedList listOf(const std::string& name, const FrequencyLevelList& points,
                   ReadingStop stop = {}) {
    return {name, &points, std::move(stop), evaluateTestFigure(points)};
}

TEST(SpectrumChart, ShowsEachBandWithItsShareOfF) {
    struct Row {
        const char* name;
        std::vector<FrequencyLevelList> lists;  // every one charted on the same bands
        std::vector<double> edges;
        std::vector<std::pair<double, double>> bands;  // lower and upper edge
        double shares = 1;  // of F in all bands; not a number: not checked
    };
    const FrequencyLevelList scan{{2e5, 80}, {3e6, 60}, {2e7, 50}};
    const std::vector<std::pair<double, double>> decades{{1e5, 1e6}, {1e6, 1e7}, {1e7, 1e8}};
    const Row rows[] = {
        {"the decades the list spans", {scan}, {}, decades},
        {"edges given, with points below and above them in bands of their own",
         {scan},
         {1e6, 1e7},
         {{1e6, 1e7}, {-kInfinity, 1e6}, {1e7, kInfinity}}},
        {"a single edge is no band: decades instead", {scan}, {1e6}, decades},
        {"a point without a frequency has no place on the axis",
         {{{kNanFrequency, 100}, {2e5, 60}}},
         {},
         {{1e5, 1e6}},
         kNan},
        {"no frequency on the axis, no bands", {{{0, 50}, {-3, 50}}}, {}, {}, 0},
        {"several lists on the decades all of them span",
         {{{2e5, 80}, {5e5, 70}}, {{2e6, 60}, {2e7, 50}}},
         {},
         decades},
    };
    for (const Row& row : rows) {
        std::vector<ChartedList> lists;
        for (const FrequencyLevelList& points : row.lists) {
            lists.push_back(listOf("run.ASC", points));
        }
        for (const Series& series : overlayChart(lists, row.edges).series) {
            std::vector<std::pair<double, double>> bands;
            double shares = 0;
            for (const ChartBand& band : series.bands) {
                bands.emplace_back(band.lower, band.upper);
                shares += std::isnan(band.share) ? 0 : band.share;
            }
            EXPECT_EQ(bands, row.bands) << row.name;
            EXPECT_TRUE(std::isnan(row.shares) || std::abs(shares - row.shares) < 1e-6)
                << row.name << ": the bands make up F";
        }
    }
}

TEST(OverlayChart, KeepsEachListsVerdictAndMarginInOrder) {
    const FrequencyLevelList loud{{1000, 120}, {2e5, 100}};
    const FrequencyLevelList quiet{{2e6, 80}, {2e7, 70}};
    const FrequencyLevelList empty;
    struct Row {
        const char* name;
        std::vector<ChartedList> lists;
        const char* title;
        const char* warning;
    };
    const Row rows[] = {
        {"passes only, one without points",
         {listOf("b.ASC", quiet), listOf("c.ASC", quiet), listOf("d.ASC", empty)},
         "3 lists: 3 PASS",
         "d.ASC: The file holds no points."},
        {"a pass between two fails cut short",
         {listOf("a.ASC", loud, {ReadingEnd::MalformedItem, 3, "x"}), listOf("b.ASC", quiet),
          listOf("e.ASC", loud, {ReadingEnd::MalformedItem, 9, "y"})},
         "3 lists: 2 FAIL, 1 PASS",
         "2 lists were cut short or hold no points: a.ASC, e.ASC"},
    };
    for (const Row& row : rows) {
        const Chart chart = overlayChart(row.lists, {});
        EXPECT_EQ(chart.title + "|" + chart.warning, std::string(row.title) + "|" + row.warning)
            << row.name;
        EXPECT_EQ(chart.failed, std::string(row.title).find("FAIL") != std::string::npos);
        ASSERT_EQ(chart.series.size(), row.lists.size()) << row.name;
        for (std::size_t s = 0; s < row.lists.size(); ++s) {
            const Chart alone = spectrumChart(row.lists[s], {});
            EXPECT_EQ(chart.series[s].name + chart.series[s].verdict + chart.series[s].margin,
                      row.lists[s].name + alone.title + alone.titleNote)
                << row.name;
        }
    }
    // One list is charted as it would be alone.
    const Chart one = overlayChart({listOf("a.ASC", loud)}, {});
    const Chart alone = spectrumChart(listOf("a.ASC", loud), {});
    EXPECT_EQ(one.title + one.titleNote + one.subject, alone.title + alone.titleNote + "a.ASC");
}

}  // namespace
}  // namespace ambersel::testing
