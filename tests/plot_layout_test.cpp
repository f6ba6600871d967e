// The chart layout: which points a crowded chart keeps, its outline, its axis labels, and how wide
// its texts are; and the numbers of its SVG.

#include <gtest/gtest.h>

#include <clocale>
#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "plot/canvas/font_metrics.h"
#include "plot/canvas/svg_canvas.h"
#include "plot/drawing/chart_drawing.h"
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
        SeriesThinning thinning(10, 10, 1);
        for (const AreaPoint& point : points) {
            thinning.add(point);
        }
        return thinning.marks();
    };
    const auto line = [](const std::vector<AreaPoint>& points) {
        SeriesThinning thinning(1, 1, 10);
        for (const AreaPoint& point : points) {
            thinning.add(point);
        }
        return thinning.outline();
    };
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

// Widths summed by hand from the advances in DejaVuSans.ttf and DejaVuSans-Bold.ttf (2048 units to
// the em), unkerned: the same on every platform, whatever fonts it has.
TEST(TextExtents, AreTheShippedFaceAdvancesAndAnEmForWhatItLacks) {
    const std::tuple<const char*, std::string, Font, double> rows[] = {
        {"digits, letters and a space", "150 kHz", Font{13}, 53.07275390625},
        {"bold is wider", "FAIL : F = 1.1201", Font{24, true}, 231.328125},
        {"micro sign from Latin-1", "Level (dBµV)", Font{15}, 95.947265625},
        {"dashes, plus-minus, at most, dot, ellipsis", "±0.5 dB ≤ 1 · 2…3 – 4 — 5", Font{13},
         174.80810546875},
        {"an invalid byte stands for U+FFFD", "\xff", Font{13}, 13.330078125},
        {"a control byte stands for U+FFFD", "\x01", Font{13}, 13.330078125},
        {"a cut sequence: each byte U+FFFD", "\xE2\x80", Font{12}, 24.609375},
        {"a surrogate stands for U+FFFD", "\xED\xA0\x80", Font{13}, 13.330078125},
        {"a code point the face lacks is an em", "中", Font{13}, 13},
        {"nothing", "", Font{13}, 0},
    };
    for (const auto& [name, text, font, width] : rows) {
        EXPECT_DOUBLE_EQ(textExtent(text, font).width, width) << name;
    }
    EXPECT_DOUBLE_EQ(textExtent("x", Font{24, true}).height, 27.9375) << "ascent and descent";
    EXPECT_DOUBLE_EQ(measureChartText("#1  2.85%", TextRole::PointLabel).width, 74.08984375)
        << "point labels are bold";
}

// Coordinates as SVG takes them: never an exponent or a decimal comma, whatever the locale.
TEST(SvgNumbers, HaveAPointAtMostThreeDecimalsAndNoNegativeZero) {
    const std::tuple<const char*, double, std::string> rows[] = {
        {"a whole number has no point", 1200, "1200"},
        {"trailing zeros go", 12.5, "12.5"},
        {"rounded to three decimals", 0.1 + 0.2, "0.3"},
        {"a sum of advances keeps its digits", 345.328125, "345.328"},
        {"no exponent for a small value", 1e-7, "0"},
        {"negative zero is zero", -0.0004, "0"},
        {"negative", -62.25, "-62.25"},
        {"not a number is no coordinate", kNan, "0"},
        {"far off the picture is cut", 1e300, "1000000000"},
    };
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        std::setlocale(LC_ALL, locale);
        for (const auto& [name, value, written] : rows) {
            SvgCanvas canvas({10, 10}, "", "");
            canvas.rectangle({value, 0, 1, 1}, 0, {});
            EXPECT_NE(canvas.document().find("<rect x=\"" + written + "\""), std::string::npos)
                << name << " in " << locale;
        }
    }
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace ambersel::testing
