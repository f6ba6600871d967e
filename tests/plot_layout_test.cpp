// The chart layout: which points a crowded chart keeps, its outline and its axis labels.

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "plot/layout/chart_layout.h"
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

// Points on a grid of 10 by 10 cells: which a crowded chart keeps (lightest first), and which its
// outline runs through.
TEST(PointsKept, AreEachCellsHeaviestAndEachColumnsHighestAndLowest) {
    const auto cells = [](const std::vector<AreaPoint>& points) {
        return heaviestPerCell(points, 10, 10);
    };
    const auto line = [](const std::vector<AreaPoint>& points) { return outline(points, 10); };
    const struct {
        const char* name;
        std::function<std::vector<AreaPoint>(const std::vector<AreaPoint>&)> keep;
        std::vector<AreaPoint> points;
        std::vector<std::size_t> kept;
    } rows[] = {
        {"the heavier of two in one cell", cells, {{0.1, 0.1, 0.2, 0}, {0.11, 0.1, 0.5, 1}}, {1}},
        {"the first of two equally heavy", cells, {{0.1, 0.1, 0.3, 0}, {0.1, 0.11, 0.3, 1}}, {0}},
        {"an undefined weight outweighs a number",
         cells,
         {{.1, .1, kNan, 0}, {.1, .1, .9, 1}},
         {0}},
        {"lone points stay", cells, {{0, 0, 0.5, 0}, {1, 1, 0.2, 1}, {.5, .5, kNan, 2}}, {1, 0, 2}},
        {"far edges are cells of their own", cells, {{1, 1, 0.1, 0}, {0.85, 0.85, 0.2, 1}}, {0, 1}},
        {"outline: high, then low", line, {{.1, .5, 0, 0}, {.1, .9, 0, 1}, {.1, .2, 0, 2}}, {1, 2}},
        {"outline: a lone point once", line, {{0.1, 0.5, 0, 0}}, {0}},
        {"outline: columns left to right", line, {{0.9, 0.5, 0, 0}, {0.1, 0.5, 0, 1}}, {1, 0}},
        {"outline: of equal heights the first", line, {{0.1, 0.5, 0, 0}, {0.1, 0.5, 0, 1}}, {0}},
    };
    for (const auto& row : rows) {
        std::vector<std::size_t> indices;
        for (const AreaPoint& point : row.keep(row.points)) {
            indices.push_back(point.index);
        }
        EXPECT_EQ(indices, row.kept) << row.name;
    }
}

TEST(Axes, LabelAHandfulOfRoundValues) {
    // Frequencies as log10 of Hz, and the labels shown, separated by '|'.
    const std::tuple<const char*, Range, std::string> rows[] = {
        {"within a decade, round steps", {6, 6.31}, "1 MHz|1.2 MHz|1.4 MHz|1.6 MHz|1.8 MHz|2 MHz|"},
        {"2 and 5 times a decade", {5, 7}, "100 kHz|200 kHz|500 kHz|1 MHz|2 MHz|5 MHz|10 MHz|"},
        {"many: decades only", {2.9, 9.1}, "1 kHz|10 kHz|100 kHz|1 MHz|10 MHz|100 MHz|1 GHz|"},
    };
    for (const auto& [name, frequencies, shown] : rows) {
        std::string labels;
        for (const AxisLine& line : frequencyLines({frequencies, 100, 800}, 600, measure)) {
            if (!line.label.empty()) {
                labels += line.label + "|";
                EXPECT_DOUBLE_EQ(
                    line.labelAt.x + measure(line.label, TextRole::AxisLabel).width / 2, line.at)
                    << name << ": " << line.label << " is not centred under its line";
            }
        }
        EXPECT_EQ(labels, shown) << name;
    }
    std::string levels;
    for (const AxisLine& line : levelLines({{37, 103}, 600, -500}, 90, measure)) {
        levels += line.label + "|";
    }
    EXPECT_EQ(levels, "40|50|60|70|80|90|100|");
}

}  // namespace
}  // namespace ambersel::testing
