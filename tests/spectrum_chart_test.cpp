// Charts of evaluated lists: the margin in the title, the bands and their share of F in a strip
// under the plot, and several lists on one chart with a legend, rows and labels that keep clear of
// the plot and of each other; and the SVG of a chart, whatever its names hold.

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <deque>
#include <limits>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "evaluation/test_figure.h"
#include "plot/canvas/svg_canvas.h"
#include "plot/drawing/chart_drawing.h"
#include "plot/drawing/svg_picture.h"
#include "plot/layout/band_strip.h"
#include "plot/layout/chart_layout.h"
#include "plot/layout/chart_legend.h"
#include "plot/layout/label_placer.h"
#include "plot/layout/spectrum_chart.h"
#include "text/unicode_text.h"

namespace ambersel::testing {
namespace {

using namespace ambersel::plot;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Text 7 units a character wide and 15 high, a character being one UTF-8 sequence.
TextExtent measure(std::string_view text, TextRole /*role*/) {
    return {7.0 * static_cast<double>(std::count_if(
                      text.begin(), text.end(), [](char byte) { return (byte & 0xC0) != 0x80; })),
            15};
}

// Whether the `box` of every item lies inside `bounds` and clear of the others and of `reserved`.
template <typename Item>
::testing::AssertionResult clearInside(const std::vector<Item>& items, Rect Item::*box,
                                       const Rect& bounds, const std::vector<Rect>& reserved = {}) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!bounds.contains(items[i].*box)) {
            return ::testing::AssertionFailure() << "box " << i << " leaves its bounds";
        }
        for (std::size_t j = i + 1; j < items.size(); ++j) {
            if ((items[i].*box).overlaps(items[j].*box)) {
                return ::testing::AssertionFailure() << "boxes " << i << " and " << j << " overlap";
            }
        }
        for (const Rect& area : reserved) {
            if ((items[i].*box).overlaps(area)) {
                return ::testing::AssertionFailure() << "box " << i << " hides a point";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// `points` under `name`, analysed as a picture of them needs, with bands between `edges`.
ChartedList listOf(const std::string& name, const FrequencyLevelList& points, ReadingStop stop = {},
                   std::vector<double> edges = {}) {
    // What the charted lists refer to, for as long as the tests run.
    static std::deque<ListAnalysis> analyses;
    analyses.push_back(analyseList(points, std::move(stop), {true, true, std::move(edges), 0}));
    return {name, &analyses.back()};
}

TEST(SpectrumChart, ShowsEachBandWithItsShareOfF) {
    const FrequencyLevelList scan{{2e5, 80}, {3e6, 60}, {2e7, 50}};
    const FrequencyLevelList low{{2e5, 80}, {5e5, 70}};
    const FrequencyLevelList high{{2e6, 60}, {2e7, 50}};
    const FrequencyLevelList unplaced{{std::numeric_limits<float>::quiet_NaN(), 100}, {2e5, 60}};
    const std::vector<std::pair<double, double>> decades{{1e5, 1e6}, {1e6, 1e7}, {1e7, 1e8}};
    const std::vector<std::pair<double, double>> given{
        {1e6, 1e7}, {-kInfinity, 1e6}, {1e7, kInfinity}};
    // Every list charted on the same bands, given by their lower and upper edges; the bands make up
    // `shares` of F (not a number: not checked).
    const struct Row {
        const char* name;
        std::vector<FrequencyLevelList> lists;
        std::vector<double> edges;
        std::vector<std::pair<double, double>> bands;
        double shares = 1;
    } rows[] = {
        {"the decades the list spans", {scan}, {}, decades},
        {"edges given, points outside in bands of their own", {scan}, {1e6, 1e7}, given},
        {"one edge is no band: decades instead", {scan}, {1e6}, decades},
        {"no band for a point without frequency", {unplaced}, {}, {{1e5, 1e6}}, kNan},
        {"no frequency on the axis, no bands", {{{0, 50}, {-3, 50}}}, {}, {}, 0},
        {"several lists on the decades of all", {low, high}, {}, decades},
    };
    for (const Row& row : rows) {
        std::vector<ChartedList> lists;
        for (const FrequencyLevelList& points : row.lists) {
            lists.push_back(listOf("run.ASC", points, {}, row.edges));
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
    // The title, its note, the subject, the warning, and each series' name, verdict and margin.
    const std::pair<std::vector<ChartedList>, std::string> rows[] = {
        {{listOf("b.ASC", quiet), listOf("c.ASC", quiet), listOf("d.ASC", empty)},
         "3 lists: 3 PASS|||d.ASC: The file holds no points.|b.ASC: PASS : F = 0.0007, margin "
         "+63.14 "
         "dB|c.ASC: PASS : F = 0.0007, margin +63.14 dB|d.ASC: PASS : F = 0.0000, no margin"},
        {{listOf("a.ASC", loud, {ReadingEnd::MalformedItem, 3, "x"}), listOf("b.ASC", quiet),
          listOf("e.ASC", loud, {ReadingEnd::MalformedItem, 9, "y"})},
         "3 lists: 2 FAIL, 1 PASS|||2 lists were cut short or hold no points: a.ASC, e.ASC|a.ASC: "
         "FAIL : F = 1.2302, margin -1.80 dB|b.ASC: PASS : F = 0.0007, margin +63.14 dB|e.ASC: "
         "FAIL "
         ": F = 1.2302, margin -1.80 dB"},
        // One list is charted as it would be alone.
        {{listOf("a.ASC", loud)},
         "FAIL : F = 1.2302|margin -1.80 dB|a.ASC||a.ASC: FAIL : F = 1.2302, margin -1.80 dB"},
    };
    for (const auto& [lists, texts] : rows) {
        const Chart chart = overlayChart(lists, {});
        std::string shown =
            chart.title + "|" + chart.titleNote + "|" + chart.subject + "|" + chart.warning;
        for (const Series& series : chart.series) {
            shown += "|" + series.name + ": " + series.verdict + ", " + series.margin;
        }
        EXPECT_EQ(shown, texts);
        EXPECT_EQ(chart.failed, texts.find("FAIL") != std::string::npos);
    }
}

TEST(BandBoxes, LineUpWithTheFrequencyScaleAndAreCutToIt) {
    // 10 kHz to 10 MHz across 100 to 700: a decade is 200 units. A left edge that is not a number:
    // no box.
    const Scale scale{{4, 7}, 100, 600};
    const struct {
        const char* name;
        ChartBand band;
        double left, right;
        bool labelled;
    } rows[] = {
        {"inside the axis", {1e5, 1e6, 0.878, "87.8%"}, 300, 500, true},
        {"reaching below the axis", {1e3, 1e5, 0.1, "10%"}, 100, 300, true},
        {"from minus infinity", {-kInfinity, 1e6, 0.5, "50%"}, 100, 500, true},
        {"to infinity", {1e6, kInfinity, 0.5, "50%"}, 500, 700, true},
        {"wholly above the axis", {1e8, 1e9, 0.5, "50%"}, kNan, kNan, false},
        {"without a frequency", {kNan, kNan, 0.5, "50%"}, kNan, kNan, false},
        {"too narrow for its label", {1e5, 1.05e5, 0.9, "90%"}, 300, 304.238, false},
    };
    for (const auto& row : rows) {
        const std::vector<BandBox> boxes = bandBoxes({row.band}, scale, 620, 24, measure);
        ASSERT_EQ(boxes.size(), std::isnan(row.left) ? 0U : 1U) << row.name;
        for (const BandBox& box : boxes) {
            EXPECT_NEAR(box.box.left, row.left, 1e-3) << row.name;
            EXPECT_NEAR(box.box.right(), row.right, 1e-3) << row.name;
            EXPECT_TRUE(box.box.top == 620 && box.box.height == 24) << row.name;
            EXPECT_EQ(box.label, row.labelled ? row.band.label : "") << row.name;
        }
    }
}

// A series of two points at `low` and `high` Hz, the first twice as heavy, with decade bands.
Series seriesOver(const std::string& name, double low, double high, bool withBands) {
    Series series{name, {{low, 60, 0.6}, {high, 40, 0.3}}};
    series.verdict = "PASS : F = 0.1000";
    series.margin = "margin +20.00 dB";
    if (withBands) {
        series.bands = {{1e5, 1e6, 0.7, "70%"}, {1e6, 1e7, 0.3, "30%"}};
    }
    return series;
}

TEST(SeriesLayout, BandRowsBetweenThePlotAndItsAxisLabelsAndALegendEntryEach) {
    // A series without bands has no row; a chart without any keeps its size.
    for (const std::vector<bool>& withBands :
         {std::vector{false}, std::vector{true}, std::vector{true, false, true}}) {
        Chart chart;
        chart.bandsName = "share of F";
        for (std::size_t s = 0; s < withBands.size(); ++s) {
            const double low = std::pow(10.0, 5.0 + static_cast<double>(s));
            chart.series.push_back(
                seriesOver("s" + std::to_string(s), low, 10 * low, withBands[s]));
        }
        const ChartLayout layout = layOutChart(chart, measure);
        const bool anyBands = withBands.back();
        double lastRowBottom = layout.plotArea.bottom();
        for (std::size_t s = 0; s < withBands.size(); ++s) {
            const Rect& row = layout.series[s].bandRow;
            EXPECT_EQ(row.empty(), !withBands[s]) << "series " << s;
            EXPECT_TRUE(!withBands[s] ||
                        (row.top > lastRowBottom && layout.bandStrip.contains(row)))
                << "rows in series order, inside the strip";
            lastRowBottom = withBands[s] ? row.bottom() : lastRowBottom;
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

        // One series needs no legend; several share one scale, each with its style and entry.
        ASSERT_EQ(layout.legend.entries.size(), layout.bySeries ? chart.series.size() : 0);
        for (std::size_t s = 0; s < layout.legend.entries.size(); ++s) {
            const LegendEntry& entry = layout.legend.entries[s];
            EXPECT_EQ(entry.name.text + entry.verdict.text + entry.margin.text,
                      chart.series[s].name + chart.series[s].verdict + chart.series[s].margin);
            for (std::size_t other = 0; other < s; ++other) {
                const SeriesStyle& a = layout.series[s].style;
                const SeriesStyle& b = layout.series[other].style;
                EXPECT_FALSE(a.colour == b.colour && a.shape == b.shape) << s << " and " << other;
            }
            // Where one series ends, the next begins: one place for both.
            EXPECT_TRUE(s == 0 || layout.series[s].marks.back().at.x ==
                                      layout.series[s - 1].marks.front().at.x);
        }
        EXPECT_TRUE(clearInside(layout.legend.entries, &LegendEntry::bounds,
                                Rect::fromCorners({layout.plotArea.right(), 0},
                                                  {layout.canvas.width, layout.canvas.height})));
    }
    // Past the palette, the first colour comes round again with another shape.
    EXPECT_EQ(seriesStyle(kSeriesColours).colour, seriesStyle(0).colour);
    EXPECT_NE(seriesStyle(kSeriesColours).shape, seriesStyle(0).shape);
}

TEST(Labels, NameTheHeaviestPointsWhereTheyHideNoneOfThem) {
    // A crowded spectrum, its three heaviest points close together in its middle.
    Chart one;
    Series& crowded = one.series.emplace_back();
    for (int i = 0; i < 200; ++i) {
        crowded.points.push_back({150e3 * std::pow(1.03, i), 40.0 + i % 7, 0.001});
    }
    crowded.points.insert(crowded.points.end(),
                          {{2e6, 60, 0.3}, {2.1e6, 58, 0.25}, {2.2e6, 62, 0.2}});
    // Every series' heaviest point on one spot, where not every label can find room.
    Chart several;
    for (int s = 0; s < 12; ++s) {
        several.series.push_back(
            {"s" + std::to_string(s), {{1e6, 80, 0.9}, {2e5 * (s + 1), 40, 0.1}}});
    }
    for (const Chart& chart : {one, several}) {
        const ChartLayout layout = layOutChart(chart, measure);
        std::vector<PointLabel> labels;
        std::vector<Rect> heaviest;
        for (const SeriesLayout& series : layout.series) {
            EXPECT_LE(series.labels.size(),
                      layout.bySeries ? kLabelledPointsBySeries : kLabelledPoints);
            labels.insert(labels.end(), series.labels.begin(), series.labels.end());
            for (const Mark& mark : series.marks) {
                if (mark.shade > 0.5) {
                    heaviest.push_back(
                        Rect::centredOn(mark.at, {2 * mark.radius, 2 * mark.radius}));
                }
            }
        }
        EXPECT_TRUE(layout.bySeries ||
                    (labels.size() == kLabelledPoints && heaviest.size() == kLabelledPoints));
        EXPECT_TRUE(clearInside(labels, &PointLabel::box, layout.plotArea.grown(-4), heaviest));
        ASSERT_FALSE(layout.series[0].labels.empty());
        EXPECT_EQ(layout.series[0].labels[0].text, layout.bySeries ? "#1  90.00%" : "#1  30.00%");
    }
    // With no free place left, a label by a corner still stays inside.
    LabelPlacer full({0, 0, 100, 60});
    full.reserve({0, 0, 100, 60});
    EXPECT_TRUE(Rect({0, 0, 100, 60}).contains(full.place({95, 55}, {40, 10})));
    // Without a drawable point the axes show the span of a conducted-emission scan.
    Chart offAxis;
    offAxis.series.push_back({"none", {{0, 50, 1}}});
    const ChartLayout empty = layOutChart(offAxis, measure);
    EXPECT_FALSE(empty.hasMarks());
    EXPECT_DOUBLE_EQ(std::pow(10.0, empty.frequencies.range.low), 150e3);
    EXPECT_DOUBLE_EQ(std::pow(10.0, empty.frequencies.range.high), 30e6);
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
        EXPECT_TRUE(clearInside(legend.entries, &LegendEntry::bounds, column)) << count;
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
    const std::pair<std::string, std::string> rows[] = {
        {"run.ASC", "run.ASC"},          // a name that fits stays whole
        {"abcdefghij", "abc\u2026hij"},  // start and end of a long name
        {"µµµµµµµµµµ", "µµµ\u2026µµµ"},  // never inside a character of several bytes
    };
    for (const auto& [text, shown] : rows) {
        EXPECT_EQ(elidedToFit(text, 49, TextRole::LegendHeading, measure), shown);
    }
    EXPECT_EQ(elidedToFit("abcdefghij", 3, TextRole::LegendHeading, measure), "\u2026");
}

// What keeps `xml` from being well-formed, as far as an SVG of ours goes: elements that nest,
// attribute values in double quotes, no '<' or bare '&' in text or values, only the predefined
// entities, and nothing but valid UTF-8 of XML characters. Empty when nothing does.
std::string xmlFault(std::string_view xml) {
    for (std::size_t at = 0; at < xml.size();) {
        const auto [codePoint, length] = decodeGeneralizedUtf8(xml, at);
        if (length == 0 || (codePoint < 0x20 && codePoint != '\n') || isSurrogate(codePoint) ||
            (codePoint & 0xFFFE) == 0xFFFE) {
            return "not an XML character at byte " + std::to_string(at);
        }
        at += length;
    }
    const auto plainText = [](std::string_view text) {
        for (std::size_t amp = text.find('&'); amp != std::string_view::npos;
             amp = text.find('&', amp + 1)) {
            const std::string_view rest = text.substr(amp);
            if (!rest.starts_with("&amp;") && !rest.starts_with("&lt;") &&
                !rest.starts_with("&gt;") && !rest.starts_with("&quot;") &&
                !rest.starts_with("&apos;")) {
                return false;
            }
        }
        return text.find('<') == std::string_view::npos;
    };
    if (!xml.starts_with("<?xml ")) {
        return "no declaration";
    }
    std::vector<std::string_view> open;
    std::size_t at = xml.find("?>") + 2;
    while (at < xml.size()) {
        const std::size_t tag = std::min(xml.find('<', at), xml.size());
        if (!plainText(xml.substr(at, tag - at))) {
            return "markup in text at byte " + std::to_string(at);
        }
        if (tag == xml.size()) {
            break;
        }
        if (xml.substr(tag, 2) == "</") {
            const std::size_t end = xml.find('>', tag);
            if (open.empty() || open.back() != xml.substr(tag + 2, end - tag - 2)) {
                return "a closing tag at byte " + std::to_string(tag) + " closes nothing open";
            }
            open.pop_back();
            at = end + 1;
            continue;
        }
        const std::size_t end = xml.find_first_of(" />", tag + 1);
        const std::string_view name = xml.substr(tag + 1, end - tag - 1);
        at = end;
        while (xml[at] == ' ') {
            const std::size_t equals = xml.find("=\"", at);
            const std::size_t closing = xml.find('"', equals + 2);
            if (equals == std::string_view::npos || closing == std::string_view::npos ||
                !plainText(xml.substr(equals + 2, closing - equals - 2))) {
                return "a bad attribute in <" + std::string(name) + ">";
            }
            at = closing + 1;
        }
        if (xml.substr(at, 2) == "/>") {
            at += 2;
        } else if (xml[at] == '>') {
            open.push_back(name);
            ++at;
        } else {
            return "<" + std::string(name) + "> is not closed";
        }
    }
    return open.empty() ? "" : "<" + std::string(open.back()) + "> is left open";
}

// Names come from file names and may hold anything: the picture must stay one well-formed document
// with the names as text, the same bytes every time and under any locale.
TEST(SvgPicture, IsWellFormedWhateverTheNamesHoldAndTheSameBytesEverywhere) {
    const FrequencyLevelList points{
        {2e5, 80}, {3e6, 60}, {std::numeric_limits<float>::quiet_NaN(), 1}};
    // A name, and how the picture writes it.
    const std::tuple<const char*, std::string, std::string> rows[] = {
        {"markup in a name is text", "<svg><script>x</script>", "&lt;svg&gt;&lt;script&gt;x"},
        {"an ampersand starts no entity", "R&D &amp;", "R&amp;D &amp;amp;"},
        {"quotes end no attribute", "\"a'", "&quot;a&apos;"},
        {"control bytes are no XML characters", "a\x01\x1b\x7f", "a\uFFFD\uFFFD\uFFFD"},
        {"invalid UTF-8 stands for U+FFFD", "\xff\xc0\xaf.ASC", "\uFFFD\uFFFD\uFFFD.ASC"},
        {"a surrogate stands for U+FFFD", "\xED\xB0\x80", "\uFFFD"},
        {"a non-character stands for U+FFFD", "\xEF\xBF\xBE", "\uFFFD"},
        {"the end of a CDATA section", "]]>", "]]&gt;"},
    };
    for (const auto& [rowName, name, written] : rows) {
        const Chart one = spectrumChart(listOf(name, points));
        const Chart several = overlayChart({listOf(name, points), listOf(name, points)}, {});
        for (const Chart& chart : {one, several}) {
            SCOPED_TRACE(rowName +
                         std::string(chart.series.size() == 1 ? " alone" : " in a legend"));
            std::setlocale(LC_ALL, "C");
            const std::string svg = svgPicture(chart);
            EXPECT_EQ(xmlFault(svg), "");
            EXPECT_NE(svg.find(">" + written), std::string::npos);
            EXPECT_EQ(svgPicture(chart), svg) << "drawn twice";
            std::setlocale(LC_ALL, "de_DE.UTF-8");
            EXPECT_EQ(svgPicture(chart), svg) << "drawn under a decimal comma";
            // Inline in HTML: the element alone, each clip path named and used with the prefix.
            std::string element = svg.substr(svg.find("<svg"));
            for (const std::string_view use : {"id=\"", "url(#"}) {
                for (std::size_t at = element.find(use); at != std::string::npos;
                     at = element.find(use, at + 1)) {
                    element.insert(at + use.size(), "list2-");
                }
            }
            const ChartLayout layout = layOutChart(chart);
            SvgCanvas inHtml(layout.canvas, headingOf(chart), chart.summary, "list2-");
            drawChart(inHtml, chart, layout);
            EXPECT_EQ(inHtml.element(), element);
        }
    }
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace ambersel::testing
