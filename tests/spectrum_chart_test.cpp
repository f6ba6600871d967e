// Charts of evaluated lists: the margin in the title, the bands and their share of F, and several
// lists on one chart.

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "evaluation/test_figure.h"
#include "plot/layout/spectrum_chart.h"
#include "plot/layout/value_text.h"

namespace ambersel::testing {
namespace {

using namespace ambersel::plot;

constexpr float kNanFrequency = std::numeric_limits<float>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// `points` under `name`, with their own verdict.
ChartedList listOf(const std::string& name, const FrequencyLevelList& points,
                   ReadingStop stop = {}) {
    return {name, &points, std::move(stop), evaluateTestFigure(points)};
}

TEST(DecibelText, IsRoundedToAHundredthWithTheSignOfWhatIsShown) {
    struct Row {
        double decibels;
        const char* text;
    };
    const Row rows[] = {{40.7139, "+40.71 dB"}, {-0.9854, "-0.99 dB"}, {6.02, "+6.02 dB"},
                        {-0.004, "0.00 dB"},    {0.004, "0.00 dB"},    {-120.456, "-120.46 dB"}};
    for (const Row& row : rows) {
        EXPECT_EQ(decibelText(row.decibels), row.text) << row.decibels;
    }
}

TEST(SpectrumChart, CarriesTheVerdictAndTheMarginInItsTitle) {
    struct Row {
        const char* name;
        FrequencyLevelList points;
        const char* title;
        const char* note;
    };
    // Margins worked out by hand as 20 log10(1 / F) from F = 1.21044075 and 0.121044077.
    const Row rows[] = {
        {"a fail must come down", {{1000, 120}}, "FAIL : F = 1.2104", "margin -1.66 dB"},
        {"a pass has room to spare", {{1000, 100}}, "PASS : F = 0.1210", "margin +18.34 dB"},
        {"F of nothing is 0, which no level change brings to 1",
         {},
         "PASS : F = 0.0000",
         "no margin"},
        {"F not finite", {{0, 50}}, "FAIL : F = inf", "no margin"},
    };
    for (const Row& row : rows) {
        const Chart chart = spectrumChart(listOf("run.ASC", row.points), {});
        EXPECT_EQ(chart.title, row.title) << row.name;
        EXPECT_EQ(chart.titleNote, row.note) << row.name;
        EXPECT_EQ(chart.subject, "run.ASC") << row.name;
        ASSERT_EQ(chart.series.size(), 1U) << row.name;
        EXPECT_EQ(chart.series[0].verdict, row.title) << row.name;
        EXPECT_EQ(chart.series[0].margin, row.note) << row.name;
    }
}

TEST(SpectrumChart, ShowsEachBandWithItsShareOfF) {
    struct Row {
        const char* name;
        FrequencyLevelList points;
        std::vector<double> edges;
        std::vector<std::pair<double, double>> bands;  // lower and upper edge
    };
    const FrequencyLevelList scan{{2e5, 80}, {3e6, 60}, {2e7, 50}};
    const Row rows[] = {
        {"the decades the list spans", scan, {}, {{1e5, 1e6}, {1e6, 1e7}, {1e7, 1e8}}},
        {"edges given, with points below and above them in bands of their own",
         scan,
         {1e6, 1e7},
         {{1e6, 1e7}, {-kInfinity, 1e6}, {1e7, kInfinity}}},
        {"a single edge is no band: decades instead",
         scan,
         {1e6},
         {{1e5, 1e6}, {1e6, 1e7}, {1e7, 1e8}}},
        {"a point without a frequency has no place on the axis",
         {{kNanFrequency, 100}, {2e5, 60}},
         {},
         {{1e5, 1e6}}},
        {"no frequency on the axis, no bands", {{0, 50}, {-3, 50}}, {}, {}},
    };
    for (const Row& row : rows) {
        const Chart chart = spectrumChart(listOf("run.ASC", row.points), row.edges);
        std::vector<std::pair<double, double>> bands;
        double shares = 0;
        for (const ChartBand& band : chart.series.at(0).bands) {
            bands.emplace_back(band.lower, band.upper);
            if (!std::isnan(band.share)) {
                EXPECT_EQ(band.label, percentText(band.share)) << row.name;
                shares += band.share;
            }
        }
        EXPECT_EQ(bands, row.bands) << row.name;
        const float figure = evaluateTestFigure(row.points).figure;
        if (std::isfinite(figure) && figure > 0 && row.points.size() == scan.size()) {
            EXPECT_NEAR(shares, 1, 1e-6) << row.name << ": the bands make up F";
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
        {"a fail and a pass",
         {listOf("a.ASC", loud), listOf("b.ASC", quiet)},
         "2 lists: 1 FAIL, 1 PASS",
         ""},
        {"passes only",
         {listOf("b.ASC", quiet), listOf("c.ASC", quiet), listOf("d.ASC", empty)},
         "3 lists: 3 PASS",
         "d.ASC: The file holds no points."},
        {"fails only, two cut short",
         {listOf("a.ASC", loud, {ReadingEnd::MalformedItem, 3, "x"}),
          listOf("e.ASC", loud, {ReadingEnd::MalformedItem, 9, "y"})},
         "2 lists: 2 FAIL",
         "2 lists were cut short or hold no points: a.ASC, e.ASC"},
    };
    for (const Row& row : rows) {
        const Chart chart = overlayChart(row.lists, {});
        EXPECT_EQ(chart.title, row.title) << row.name;
        EXPECT_EQ(chart.failed, std::string(row.title).find("FAIL") != std::string::npos);
        EXPECT_EQ(chart.warning, row.warning) << row.name;
        ASSERT_EQ(chart.series.size(), row.lists.size()) << row.name;
        for (std::size_t s = 0; s < row.lists.size(); ++s) {
            const Chart alone = spectrumChart(row.lists[s], {});
            EXPECT_EQ(chart.series[s].name, row.lists[s].name) << row.name;
            EXPECT_EQ(chart.series[s].verdict, alone.title) << row.name;
            EXPECT_EQ(chart.series[s].margin, alone.titleNote) << row.name;
        }
    }
}

TEST(OverlayChart, PutsEveryListsBandsOnTheSameEdges) {
    const FrequencyLevelList low{{2e5, 80}, {5e5, 70}};
    const FrequencyLevelList high{{2e6, 60}, {2e7, 50}};
    const std::vector<std::pair<double, double>> decades{{1e5, 1e6}, {1e6, 1e7}, {1e7, 1e8}};
    const Chart chart = overlayChart({listOf("low.ASC", low), listOf("high.ASC", high)}, {});
    for (const Series& series : chart.series) {
        std::vector<std::pair<double, double>> bands;
        for (const ChartBand& band : series.bands) {
            bands.emplace_back(band.lower, band.upper);
        }
        EXPECT_EQ(bands, decades) << series.name;
    }
    // One list is charted as it would be alone, on its own decades.
    const Chart one = overlayChart({listOf("low.ASC", low)}, {});
    EXPECT_EQ(one.subject, "low.ASC");
    EXPECT_TRUE(one.titleNote.starts_with("margin +")) << one.titleNote;
    EXPECT_EQ(one.series.at(0).bands.size(), 1U);
}

}  // namespace
}  // namespace ambersel::testing
