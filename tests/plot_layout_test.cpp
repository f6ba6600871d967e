// The chart layout: which points a crowded chart keeps, its outline, its axis labels, and labels
// that stay clear of each other and of the points they name.

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "plot/layout/chart_layout.h"
#include "plot/layout/label_placer.h"
#include "plot/layout/point_marks.h"
#include "plot/layout/scale.h"

namespace ambersel::testing {
namespace {

using namespace ambersel::plot;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// Text 7 units a character wide and 15 high.
TextExtent measure(std::string_view text, TextRole /*role*/) {
    return {7.0 * static_cast<double>(text.size()), 15};
}

std::vector<std::size_t> indicesOf(const std::vector<AreaPoint>& points) {
    std::vector<std::size_t> indices;
    for (const AreaPoint& point : points) {
        indices.push_back(point.index);
    }
    return indices;
}

TEST(Cells, KeepTheirHeaviestPoint) {
    struct Row {
        const char* name;
        std::vector<AreaPoint> points;  // on a grid of 10 by 10 cells
        std::vector<std::size_t> kept;  // lightest first
    };
    const Row rows[] = {
        {"the heavier of two in one cell", {{0.1, 0.1, 0.2, 0}, {0.11, 0.1, 0.5, 1}}, {1}},
        {"the first of two equally heavy", {{0.1, 0.1, 0.3, 0}, {0.1, 0.11, 0.3, 1}}, {0}},
        {"an undefined weight outweighs any number",
         {{0.1, 0.1, kNan, 0}, {0.1, 0.1, 0.9, 1}},
         {0}},
        {"points in different cells all stay",
         {{0, 0, 0.5, 0}, {1, 1, 0.2, 1}, {0.5, 0.5, kNan, 2}},
         {1, 0, 2}},
        {"the far edges are cells of their own", {{1, 1, 0.1, 0}, {0.85, 0.85, 0.2, 1}}, {0, 1}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(indicesOf(heaviestPerCell(row.points, 10, 10)), row.kept) << row.name;
    }
}

TEST(Outline, RunsThroughTheHighestAndLowestOfEachColumn) {
    struct Row {
        const char* name;
        std::vector<AreaPoint> points;  // over 10 columns
        std::vector<std::size_t> outline;
    };
    const Row rows[] = {
        {"highest, then lowest", {{0.1, 0.5, 0, 0}, {0.1, 0.9, 0, 1}, {0.1, 0.2, 0, 2}}, {1, 2}},
        {"a lone point once", {{0.1, 0.5, 0, 0}}, {0}},
        {"columns left to right", {{0.9, 0.5, 0, 0}, {0.1, 0.5, 0, 1}}, {1, 0}},
        {"of equal heights the first", {{0.1, 0.5, 0, 0}, {0.1, 0.5, 0, 1}}, {0}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(indicesOf(outline(row.points, 10)), row.outline) << row.name;
    }
}

// Whether `boxes` lie inside `bounds` and clear of each other and of `reserved`.
::testing::AssertionResult allClear(const std::vector<Rect>& boxes,
                                    const std::vector<Rect>& reserved, const Rect& bounds) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (!bounds.contains(boxes[i])) {
            return ::testing::AssertionFailure() << "label " << i << " leaves the bounds";
        }
        for (std::size_t j = 0; j < boxes.size(); ++j) {
            if (j != i && boxes[i].overlaps(boxes[j])) {
                return ::testing::AssertionFailure() << "labels " << i << " and " << j;
            }
        }
        for (const Rect& area : reserved) {
            if (boxes[i].overlaps(area)) {
                return ::testing::AssertionFailure() << "label " << i << " hides a point";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(Labels, StayClearOfEachOtherAndOfTheirPoints) {
    struct Row {
        const char* name;
        std::vector<Point> points;
    };
    const Row rows[] = {
        {"three points on one spot", {{200, 150}, {200, 150}, {200, 150}}},
        {"a cluster", {{200, 150}, {205, 152}, {195, 148}, {210, 150}}},
        {"along the top edge", {{100, 5}, {160, 5}, {220, 5}}},
        {"in a corner", {{395, 295}, {390, 290}}},
    };
    const Rect bounds{0, 0, 400, 300};
    for (const Row& row : rows) {
        LabelPlacer placer(bounds);
        std::vector<Rect> reserved;
        for (const Point& point : row.points) {
            reserved.push_back({point.x - 5, point.y - 5, 10, 10});
            placer.reserve(reserved.back());
        }
        std::vector<Rect> boxes;
        for (const Point& point : row.points) {
            boxes.push_back(placer.place(point, {70, 20}));
        }
        EXPECT_TRUE(allClear(boxes, reserved, bounds)) << row.name;
    }
    // With no free place left, a label still stays inside.
    LabelPlacer crowded({0, 0, 100, 60});
    crowded.reserve({0, 0, 100, 60});
    EXPECT_TRUE(Rect({0, 0, 100, 60}).contains(crowded.place({50, 30}, {40, 10})));
}

TEST(Axes, LabelAHandfulOfRoundValues) {
    struct Row {
        const char* name;
        Range frequencies;  // log10 of Hz
        std::vector<std::string> labels;
    };
    const Row rows[] = {
        {"within a decade, round steps",
         {6, 6.31},
         {"1 MHz", "1.2 MHz", "1.4 MHz", "1.6 MHz", "1.8 MHz", "2 MHz"}},
        {"a few decades, and 2 and 5 times each",
         {5, 7},
         {"100 kHz", "200 kHz", "500 kHz", "1 MHz", "2 MHz", "5 MHz", "10 MHz"}},
        {"many decades, decades only",
         {2.9, 9.1},
         {"1 kHz", "10 kHz", "100 kHz", "1 MHz", "10 MHz", "100 MHz", "1 GHz"}},
    };
    for (const Row& row : rows) {
        std::vector<std::string> labels;
        for (const AxisLine& line : frequencyLines({row.frequencies, 100, 800}, 600, measure)) {
            if (!line.label.empty()) {
                labels.push_back(line.label);
                EXPECT_DOUBLE_EQ(
                    line.labelAt.x + measure(line.label, TextRole::AxisLabel).width / 2, line.at)
                    << row.name << ": " << line.label << " is not centred under its line";
            }
        }
        EXPECT_EQ(labels, row.labels) << row.name;
    }
    std::vector<std::string> levels;
    for (const AxisLine& line : levelLines({{37, 103}, 600, -500}, 90, measure)) {
        levels.push_back(line.label);
    }
    EXPECT_EQ(levels, (std::vector<std::string>{"40", "50", "60", "70", "80", "90", "100"}));
}

TEST(Chart, LabelsItsHeaviestPointsWhereTheyHideNoneOfThem) {
    Chart chart;
    Series& series = chart.series.emplace_back();
    // A crowded spectrum, its three heaviest points close together in its middle.
    for (int i = 0; i < 200; ++i) {
        series.points.push_back({150e3 * std::pow(1.03, i), 40.0 + i % 7, 0.001});
    }
    series.points.push_back({2e6, 60, 0.3});
    series.points.push_back({2.1e6, 58, 0.25});
    series.points.push_back({2.2e6, 62, 0.2});
    const ChartLayout layout = layOutChart(chart, measure);

    std::vector<Rect> boxes;
    for (const PointLabel& label : layout.series.at(0).labels) {
        boxes.push_back(label.box);
    }
    std::vector<Rect> heaviest;
    for (const Mark& mark : layout.series[0].marks) {
        if (mark.shade > 0.5) {
            heaviest.push_back({mark.at.x - mark.radius, mark.at.y - mark.radius, 2 * mark.radius,
                                2 * mark.radius});
        }
    }
    ASSERT_EQ(boxes.size(), kLabelledPoints);
    ASSERT_EQ(heaviest.size(), kLabelledPoints);
    EXPECT_TRUE(allClear(boxes, heaviest, layout.plotArea.grown(-4)));
    EXPECT_EQ(layout.series[0].labels[0].text, "#1  30%");

    // Without a drawable point the axes show the span of a conducted-emission scan.
    Chart offAxis;
    offAxis.series.push_back({"none", {{0, 50, 1}}});
    const ChartLayout empty = layOutChart(offAxis, measure);
    EXPECT_FALSE(empty.hasMarks());
    EXPECT_DOUBLE_EQ(std::pow(10.0, empty.frequencies.range.low), 150e3);
    EXPECT_DOUBLE_EQ(std::pow(10.0, empty.frequencies.range.high), 30e6);
}

}  // namespace
}  // namespace ambersel::testing
