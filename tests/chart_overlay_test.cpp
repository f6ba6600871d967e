// The band strip under a chart and charts of several series: band boxes that
// line up with the frequency scale, rows, legend entries and labels that keep
// clear of the plot and of each other.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "plot/layout/band_strip.h"
#include "plot/layout/chart_layout.h"
#include "plot/layout/chart_legend.h"

namespace ambersel::testing {
namespace {

using namespace ambersel::plot;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Text 7 units a character wide and 15 high, a character being one UTF-8
// sequence.
TextExtent measure(std::string_view text, TextRole /*role*/) {
    double characters = 0;
    for (const char byte : text) {
        characters += (static_cast<unsigned char>(byte) & 0xC0U) == 0x80U ? 0 : 1;
    }
    return {7 * characters, 15};
}

TEST(BandBoxes, LineUpWithTheFrequencyScaleAndAreCutToIt) {
    struct Row {
        const char* name;
        ChartBand band;
        double left;  // not a number: no box
        double right;
        bool labelled;
    };
    // 10 kHz to 10 MHz across 100 to 700: a decade is 200 units.
    const Scale scale{{4, 7}, 100, 600};
    const Row rows[] = {
        {"inside the axis", {1e5, 1e6, 0.878, "87.8%"}, 300, 500, true},
        {"reaching below the axis", {1e3, 1e5, 0.1, "10%"}, 100, 300, true},
        {"from minus infinity", {-kInfinity, 1e6, 0.5, "50%"}, 100, 500, true},
        {"to infinity", {1e6, kInfinity, 0.5, "50%"}, 500, 700, true},
        {"wholly above the axis", {1e8, 1e9, 0.5, "50%"}, kNan, kNan, false},
        {"without a frequency", {kNan, kNan, 0.5, "50%"}, kNan, kNan, false},
        {"too narrow for its label", {1e5, 1.05e5, 0.9, "90%"}, 300, 304.238, false},
    };
    for (const Row& row : rows) {
        const std::vector<BandBox> boxes = bandBoxes({row.band}, scale, 620, 24, measure);
        ASSERT_EQ(boxes.size(), std::isnan(row.left) ? 0U : 1U) << row.name;
        if (!boxes.empty()) {
            const Rect& box = boxes[0].box;
            EXPECT_NEAR(box.left, row.left, 1e-3) << row.name;
            EXPECT_NEAR(box.right(), row.right, 1e-3) << row.name;
            EXPECT_TRUE(box.top == 620 && box.height == 24) << row.name;
            EXPECT_EQ(boxes[0].label, row.labelled ? row.band.label : "") << row.name;
        }
    }
}

// A series of two points at `low` and `high` Hz, the first twice as heavy, with
// decade bands.
Series seriesOver(const std::string& name, double low, double high, bool withBands) {
    Series series{name, {{low, 60, 0.6}, {high, 40, 0.3}}};
    series.verdict = "PASS : F = 0.1000";
    series.margin = "margin +20.00 dB";
    if (withBands) {
        series.bands = {{1e5, 1e6, 0.7, "70%"}, {1e6, 1e7, 0.3, "30%"}};
    }
    return series;
}

// Whether `boxes` are pairwise clear and each inside `bounds`.
::testing::AssertionResult clearInside(const std::vector<Rect>& boxes, const Rect& bounds) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (!bounds.contains(boxes[i])) {
            return ::testing::AssertionFailure() << "box " << i << " leaves its bounds";
        }
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            if (boxes[i].overlaps(boxes[j])) {
                return ::testing::AssertionFailure() << "boxes " << i << " and " << j << " overlap";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(BandStrip, HasARowForEachSeriesWithBandsBetweenThePlotAndItsAxisLabels) {
    // A series without bands has no row; a chart without any keeps its size.
    for (const std::vector<bool>& withBands :
         {std::vector{false}, std::vector{true}, std::vector{true, false, true}}) {
        Chart chart;
        chart.bandsName = "share of F";
        for (std::size_t s = 0; s < withBands.size(); ++s) {
            chart.series.push_back(seriesOver("s" + std::to_string(s), 2e5, 5e6, withBands[s]));
        }
        const ChartLayout layout = layOutChart(chart, measure);
        const bool anyBands = withBands.back();
        double lastRowBottom = layout.plotArea.bottom();
        for (std::size_t s = 0; s < withBands.size(); ++s) {
            const Rect& bandRow = layout.series[s].bandRow;
            EXPECT_EQ(bandRow.empty(), !withBands[s]) << "series " << s;
            if (withBands[s]) {
                EXPECT_GT(bandRow.top, lastRowBottom) << "rows in series order";
                EXPECT_TRUE(layout.bandStrip.contains(bandRow));
                lastRowBottom = bandRow.bottom();
            }
        }
        EXPECT_EQ(layout.bandStrip.empty(), !anyBands);
        EXPECT_EQ(layout.canvas.height == 700, !anyBands);
        const double axisTop = anyBands ? layout.bandStrip.bottom() : layout.plotArea.bottom();
        for (const AxisLine& line : layout.frequencyLines) {
            EXPECT_TRUE(line.label.empty() || line.labelAt.y - 15 > axisTop) << line.label;
        }
        EXPECT_LT(layout.frequencyTitleBaseline, layout.canvas.height);
        // Left of the strip, clear of the series' marks that lead its rows.
        const PlacedText& caption = layout.bandsCaption;
        EXPECT_TRUE(!anyBands || (caption.at.x >= 0 &&
                                  caption.at.x + measure(caption.text, TextRole::AxisLabel).width <=
                                      layout.plotArea.left - (layout.bySeries ? 14 : 0)));
    }
}

TEST(SeveralSeries, ShareOneScaleEachWithItsStyleAndLegendEntry) {
    Chart chart;
    chart.series = {seriesOver("before.ASC", 1e5, 1e6, true),
                    seriesOver("after.ASC", 1e6, 1e7, true),
                    seriesOver("retest.ASC", 3e5, 3e6, false)};
    chart.series[1].verdict = "FAIL : F = 1.1201";
    chart.series[1].margin = "margin -0.99 dB";
    const ChartLayout layout = layOutChart(chart, measure);
    ASSERT_TRUE(layout.bySeries);
    // 1 MHz, the end of one series and the start of the next, is one place for
    // both.
    for (const std::size_t s : {0U, 1U}) {
        const std::vector<Mark>& marks = layout.series[s].marks;
        EXPECT_TRUE(std::any_of(marks.begin(), marks.end(),
                                [&](const Mark& mark) {
                                    return std::abs(mark.at.x - layout.frequencies.place(6)) < 1e-9;
                                }))
            << "series " << s;
    }
    ASSERT_EQ(layout.legend.entries.size(), chart.series.size());
    std::vector<Rect> entries;
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        const LegendEntry& entry = layout.legend.entries[s];
        EXPECT_EQ(entry.name.text + entry.verdict.text + entry.margin.text,
                  chart.series[s].name + chart.series[s].verdict + chart.series[s].margin);
        entries.push_back(entry.bounds);
        for (std::size_t other = 0; other < s; ++other) {
            const SeriesStyle& a = layout.series[s].style;
            const SeriesStyle& b = layout.series[other].style;
            EXPECT_FALSE(a.colour == b.colour && a.shape == b.shape) << s << " and " << other;
        }
    }
    EXPECT_TRUE(
        clearInside(entries, Rect::fromCorners({layout.plotArea.right(), 0},
                                               {layout.canvas.width, layout.canvas.height})));
    // Past the palette, the first colour comes round again with another shape.
    EXPECT_EQ(seriesStyle(kSeriesColours).colour, seriesStyle(0).colour);
    EXPECT_NE(seriesStyle(kSeriesColours).shape, seriesStyle(0).shape);
    chart.series.resize(1);
    EXPECT_TRUE(layOutChart(chart, measure).legend.entries.empty()) << "one series needs none";
}

TEST(SeveralSeries, LabelTheirHeaviestPointsOnlyWhereNoLabelCoversAnother) {
    Chart chart;
    // Every series' heaviest point on one spot, where not every label can find room.
    for (int s = 0; s < 12; ++s) {
        Series& series = chart.series.emplace_back();
        series.name = "s" + std::to_string(s);
        series.points = {{1e6, 80, 0.9}, {2e5 * (s + 1), 40, 0.1}};
    }
    const ChartLayout layout = layOutChart(chart, measure);
    std::vector<Rect> labels;
    for (const SeriesLayout& series : layout.series) {
        EXPECT_LE(series.labels.size(), kLabelledPointsBySeries);
        for (const PointLabel& label : series.labels) {
            labels.push_back(label.box);
        }
    }
    EXPECT_FALSE(labels.empty());
    EXPECT_TRUE(clearInside(labels, layout.plotArea));
}

TEST(Legend, ListsTheSeriesThatFitAndCountsTheRest) {
    const Rect column{960, 100, 230, 520};
    for (const std::size_t count : {kSeriesColours, std::size_t{30}}) {
        Chart chart;
        chart.weightName = "share of its list's F";
        for (std::size_t s = 0; s < count; ++s) {
            chart.series.push_back(seriesOver("list" + std::to_string(s), 1e5, 1e6, false));
        }
        const Legend legend = layOutLegend(chart, column, measure);
        std::vector<Rect> boxes;
        for (const LegendEntry& entry : legend.entries) {
            boxes.push_back(entry.bounds);
        }
        EXPECT_TRUE(clearInside(boxes, column)) << count;
        ASSERT_FALSE(legend.notes.empty()) << count;
        EXPECT_EQ(legend.notes[0].text, "mark size: share of its list's F") << count;
        EXPECT_LT(legend.notes.back().at.y, column.bottom()) << count;
        const std::size_t left = count - legend.entries.size();
        EXPECT_EQ(left > 0, count == 30) << count;
        EXPECT_EQ(left > 0,
                  legend.notes.back().text == "and " + std::to_string(left) + " more lists")
            << count;
    }
}

TEST(Legend, CutsLongNamesInTheMiddleBetweenCharacters) {
    struct Row {
        const char* name;
        std::string text;
        double width;
        std::string shown;
    };
    const Row rows[] = {
        {"a name that fits stays whole", "day1.ASC", 56, "day1.ASC"},
        {"start and end of a long name", "abcdefghij", 49, "abc\u2026hij"},
        {"never inside a character of several bytes", "µµµµµµµµµµ", 49, "µµµ\u2026µµµ"},
        {"no room for any of it", "abcdefghij", 3, "\u2026"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(elidedToFit(row.text, row.width, TextRole::LegendHeading, measure), row.shown)
            << row.name;
    }
}

}  // namespace
}  // namespace ambersel::testing
