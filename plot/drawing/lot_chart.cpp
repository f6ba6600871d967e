#include "plot/drawing/lot_chart.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <optional>

#include "plot/canvas/svg_canvas.h"
#include "plot/drawing/chart_colours.h"
#include "plot/layout/scale.h"
#include "text/time_text.h"
#include "text/value_text.h"

namespace ambersel::plot {
namespace {

// The two plot areas, one above the other, with room above each for its heading and legend, left
// for the axis labels and title, and below for the tick labels and caption.
constexpr double kAreaLeft = 90;
constexpr double kAreaWidth = kLotChartSize.width - kAreaLeft - 40;
constexpr double kAreaHeight = 290;
constexpr Rect kHistogramArea{kAreaLeft, 118, kAreaWidth, kAreaHeight};
constexpr Rect kTrendArea{kAreaLeft, 528, kAreaWidth, kAreaHeight};
// Baselines of the chart's heading and of the lot's margins under it.
constexpr double kHeadingBaseline = 34;
constexpr double kFiguresBaseline = 58;
// Tick labels: their gap from the axis, and how far their baseline lies below the tick's middle.
constexpr double kTickGap = 8;
constexpr double kTickLabelDrop = 4.5;
constexpr double kTickLabelBelow = 18;
// An axis title's distance left of the area (its baseline, turned), and a caption's below it.
constexpr double kAxisTitleLeft = 58;
constexpr double kCaptionBelow = 40;
// A heading's baseline above its area.
constexpr double kHeadingAbove = 12;
constexpr Colour kGridColour{0xe0, 0xe0, 0xe0};
constexpr Font kTitleFont{18, true};
constexpr Font kHeadingFont{15, true};
constexpr Font kTextFont{13};
constexpr double kBarGap = 1;

Style filled(Colour colour) {
    return {colour, std::nullopt};
}

Style stroked(Colour colour, double width) {
    return {std::nullopt, Stroke{colour, width}};
}

void line(Canvas& canvas, Point from, Point to, const Style& style) {
    const std::array<Point, 2> points{from, to};
    canvas.path(points, false, style);
}

std::string tickText(double value, int decimals) {
    // A tick at -0 reads as 0.
    return decimalsText(value + 0.0, decimals);
}

// A round step of time in seconds that cuts `span` into at most about eight parts.
std::int64_t timeStep(double span) {
    constexpr std::array<std::int64_t, 16> kSteps{1,   2,   5,   10,   15,   30,   60,    120,
                                                  300, 600, 900, 1800, 3600, 7200, 21600, 43200};
    for (const std::int64_t step : kSteps) {
        if (span / static_cast<double>(step) <= 8) {
            return step;
        }
    }
    const auto days = static_cast<std::int64_t>(niceStep(span / 86400, 8));
    return std::max<std::int64_t>(days, 1) * 86400;
}

// A list as the trend places it: where across (its position or its file's time), its margin.
struct TrendPoint {
    double at;
    std::optional<double> margin;
    bool failed;
};

class LotChart {
  public:
    LotChart(Canvas& canvas, const LotSummary& summary, bool byTime)
        : m_canvas(canvas), m_summary(summary), m_byTime(byTime) {}

    void draw() {
        m_canvas.rectangle({0, 0, kLotChartSize.width, kLotChartSize.height}, 0, filled(kWhite));
        drawHeading();
        drawHistogram();
        drawTrend();
    }

  private:
    void text(const std::string& text, Point at, TextAnchor anchor, const Font& font,
              Colour colour = kInk, double degrees = 0) {
        m_canvas.text(text, at, anchor, font, colour, degrees);
    }

    void drawHeading();
    void drawHistogram();
    void drawTrend();
    void drawTrendAxis(const Scale& x, const Rect& area);
    void drawTrendMarks(const std::vector<TrendPoint>& placed, const Scale& x, const Scale& y,
                        const Rect& area);
    void drawLevelAxis(const Scale& scale, const Rect& area, double step, int decimals,
                       const std::string& title);
    void drawPassLine(const Scale& margins, const Rect& area, bool across);
    void drawTrendLegend(const Rect& area);

    Canvas& m_canvas;
    const LotSummary& m_summary;
    bool m_byTime;
};

void LotChart::drawHeading() {
    const std::size_t passed = m_summary.count(ListStatus::Pass);
    const std::size_t failed = m_summary.count(ListStatus::Fail);
    std::string heading = "Lot of " + countText(m_summary.given(), "list", "lists") + ": " +
                          std::to_string(passed) + " passed, " + std::to_string(failed) +
                          " failed, " + std::to_string(m_summary.count(ListStatus::Error)) +
                          " unreadable";
    if (passed + failed > 0) {
        heading += "; yield " + percentOfCount(passed, passed + failed);
    }
    text(heading, {kHistogramArea.left, kHeadingBaseline}, TextAnchor::Start, kTitleFont);
    std::string margins = "No list has a margin";
    if (const std::optional<MarginStatistics> statistics = m_summary.statistics()) {
        margins = "Margin: min " + marginText(statistics->minimum) + ", 5th percentile " +
                  marginText(statistics->fifthPercentile) + ", median " +
                  marginText(statistics->median) + ", max " + marginText(statistics->maximum) +
                  "; Cpk " +
                  (statistics->capability ? decimalsText(*statistics->capability, 2) : "none");
    }
    text(margins, {kHistogramArea.left, kFiguresBaseline}, TextAnchor::Start, Font{14}, kMutedInk);
}

void LotChart::drawLevelAxis(const Scale& scale, const Rect& area, double step, int decimals,
                             const std::string& title) {
    for (const double value : multiplesWithin(scale.range.low, scale.range.high, step)) {
        const double y = scale.place(value);
        line(m_canvas, {area.left, y}, {area.right(), y}, stroked(kGridColour, 1));
        text(tickText(value, decimals), {area.left - kTickGap, y + kTickLabelDrop}, TextAnchor::End,
             kTextFont);
    }
    text(title, {area.left - kAxisTitleLeft, area.centre().y}, TextAnchor::Middle, kTextFont, kInk,
         -90);
}

void LotChart::drawPassLine(const Scale& margins, const Rect& area, bool across) {
    const double at = margins.place(0);
    const Style style = stroked(kInk, 1.6);
    if (across) {
        line(m_canvas, {at, area.top}, {at, area.bottom()}, style);
        text("pass line 0 dB", {at + 5, area.top + 14}, TextAnchor::Start, kTextFont);
    } else {
        line(m_canvas, {area.left, at}, {area.right(), at}, style);
        text("pass line 0 dB", {area.right() - 5, at - 5}, TextAnchor::End, kTextFont);
    }
}

void LotChart::drawHistogram() {
    const Rect& area = kHistogramArea;
    std::vector<double> margins;
    std::size_t withoutMargin = 0;
    for (const LotEntry& entry : m_summary.entries()) {
        if (entry.margin) {
            margins.push_back(*entry.margin);
        } else if (entry.status == ListStatus::Fail) {
            ++withoutMargin;
        }
    }
    text("Margins of " + countText(margins.size(), "list", "lists"),
         {area.left, area.top - kHeadingAbove}, TextAnchor::Start, kHeadingFont);
    const MarginBins bins = marginBins(margins, 40);
    const Scale x{{bins.lowerEdge(0), bins.lowerEdge(bins.counts.size())}, area.left, area.width};
    const std::size_t most =
        bins.counts.empty() ? 0 : *std::max_element(bins.counts.begin(), bins.counts.end());
    const double step =
        std::max(niceStep(static_cast<double>(std::max<std::size_t>(most, 1)), 5), 1.0);
    const Scale y{{0, std::ceil(static_cast<double>(std::max<std::size_t>(most, 1)) / step) * step},
                  area.bottom(),
                  -area.height};
    drawLevelAxis(y, area, step, 0, "lists");
    for (std::size_t bin = 0; bin < bins.counts.size(); ++bin) {
        if (bins.counts[bin] == 0) {
            continue;
        }
        const bool failing = bins.firstIndex + static_cast<long long>(bin) < 0;
        const double left = x.place(bins.lowerEdge(bin));
        const double top = y.place(static_cast<double>(bins.counts[bin]));
        m_canvas.rectangle(
            Rect::fromCorners({left + kBarGap / 2, top},
                              {x.place(bins.lowerEdge(bin + 1)) - kBarGap / 2, area.bottom()}),
            0, filled(failing ? kFailColour : kPassColour));
    }
    const double tick = niceStep(x.range.span(), 12);
    for (const double value : multiplesWithin(x.range.low, x.range.high, tick)) {
        text(tickText(value, decimalsOf(tick)), {x.place(value), area.bottom() + kTickLabelBelow},
             TextAnchor::Middle, kTextFont);
    }
    text("margin (dB): below 0 the list fails", {area.centre().x, area.bottom() + kCaptionBelow},
         TextAnchor::Middle, kTextFont);
    m_canvas.rectangle(area, 0, stroked(kFrameColour, 1));
    drawPassLine(x, area, true);
    if (withoutMargin > 0) {
        text(std::to_string(withoutMargin) +
                 (withoutMargin == 1 ? " failing list has" : " failing lists have") +
                 " no margin (F not finite or negative) and is not counted here",
             {area.right(), area.top - kHeadingAbove}, TextAnchor::End, kTextFont, kFailColour);
    }
}

void LotChart::drawTrendLegend(const Rect& area) {
    // Each key a mark and its label, the room it takes across; the keys end at the area's right.
    struct Key {
        MarkShape shape;
        double radius;
        Colour colour;
        const char* label;
        double width;
    };
    const std::array<Key, 3> keys{
        {{MarkShape::Circle, 3, kPassColour, "passed", 80},
         {MarkShape::Diamond, 5, kFailColour, "failed", 90},
         {MarkShape::TriangleDown, 5, kFailColour, "failed without a margin", 190}}};
    constexpr double kMarkAbove = 16;
    constexpr double kLabelAbove = 11.5;
    constexpr double kLabelAfterMark = 10;
    double left = area.right();
    for (const Key& key : keys) {
        left -= key.width;
    }
    for (const Key& key : keys) {
        const Point centre{left, area.top - kMarkAbove};
        m_canvas.marks(std::span<const Point>(&centre, 1), key.shape, key.radius,
                       filled(key.colour));
        text(key.label, {left + kLabelAfterMark, area.top - kLabelAbove}, TextAnchor::Start,
             kTextFont);
        left += key.width;
    }
}

std::vector<TrendPoint> trendPoints(const std::vector<LotEntry>& entries, bool byTime) {
    std::vector<TrendPoint> placed;
    for (std::size_t position = 0; position < entries.size(); ++position) {
        const LotEntry& entry = entries[position];
        const bool failed = entry.status == ListStatus::Fail;
        if (entry.status == ListStatus::Error || (!entry.margin && !failed) ||
            (byTime && !entry.modified)) {
            continue;
        }
        placed.push_back(
            {byTime ? static_cast<double>(*entry.modified) : static_cast<double>(position + 1),
             entry.margin, failed});
    }
    return placed;
}

void LotChart::drawTrendAxis(const Scale& x, const Rect& area) {
    const Range& range = x.range;
    if (m_byTime) {
        const std::int64_t step = timeStep(range.span());
        for (const double at : multiplesWithin(range.low, range.high, static_cast<double>(step))) {
            text(monthDayTimeText(static_cast<std::int64_t>(at), step < 60),
                 {x.place(at), area.bottom() + kTickLabelBelow}, TextAnchor::Middle, kTextFont);
        }
        text("modification time of the file (UTC)",
             {area.centre().x, area.bottom() + kCaptionBelow}, TextAnchor::Middle, kTextFont);
        return;
    }
    const double step = std::max(niceStep(range.span(), 10), 1.0);
    for (const double at : multiplesWithin(range.low, range.high, step)) {
        text(tickText(at, 0), {x.place(at), area.bottom() + kTickLabelBelow}, TextAnchor::Middle,
             kTextFont);
    }
    text("list, in the order given", {area.centre().x, area.bottom() + kCaptionBelow},
         TextAnchor::Middle, kTextFont);
}

void LotChart::drawTrend() {
    const Rect& area = kTrendArea;
    const std::vector<TrendPoint> placed = trendPoints(m_summary.entries(), m_byTime);
    double lowMargin = 0;
    double highMargin = 0;
    for (const TrendPoint& list : placed) {
        if (list.margin) {
            lowMargin = std::min(lowMargin, *list.margin);
            highMargin = std::max(highMargin, *list.margin);
        }
    }
    text(m_byTime ? "Margin of each list over its file's modification time"
                  : "Margin of each list in the order given",
         {area.left, area.top - kHeadingAbove}, TextAnchor::Start, kHeadingFont);
    drawTrendLegend(area);
    double first = 1;
    double last = static_cast<double>(std::max<std::size_t>(m_summary.entries().size(), 2));
    if (m_byTime && !placed.empty()) {
        const auto [low, high] = std::minmax_element(
            placed.begin(), placed.end(),
            [](const TrendPoint& a, const TrendPoint& b) { return a.at < b.at; });
        first = low->at;
        last = std::max(high->at, first + 60);
    }
    const Scale x{paddedRange(first, last, 1, 0.02), area.left, area.width};
    const Range yRange = paddedRange(lowMargin, highMargin, 1, 0.06);
    const Scale y{yRange, area.bottom(), -area.height};
    const double yStep = niceStep(yRange.span(), 6);
    drawLevelAxis(y, area, yStep, decimalsOf(yStep), "margin (dB)");
    drawTrendAxis(x, area);
    drawPassLine(y, area, false);
    drawTrendMarks(placed, x, y, area);
}

void LotChart::drawTrendMarks(const std::vector<TrendPoint>& placed, const Scale& x, const Scale& y,
                              const Rect& area) {
    std::vector<Point> passes;
    std::vector<Point> failures;
    std::vector<Point> withoutMargin;
    for (const TrendPoint& list : placed) {
        if (!list.margin) {
            withoutMargin.push_back({x.place(list.at), area.bottom() - 7});
        } else {
            (list.failed ? failures : passes).push_back({x.place(list.at), y.place(*list.margin)});
        }
    }
    m_canvas.clip(area);
    m_canvas.marks(passes, MarkShape::Circle, 2.6, filled(kPassColour));
    m_canvas.marks(failures, MarkShape::Diamond, 5, {kFailColour, Stroke{kWhite, 0.8}});
    m_canvas.marks(withoutMargin, MarkShape::TriangleDown, 5, {kFailColour, Stroke{kWhite, 0.8}});
    m_canvas.clip(std::nullopt);
    m_canvas.rectangle(area, 0, stroked(kFrameColour, 1));
}

}  // namespace

MarginBins marginBins(std::span<const double> margins, int wanted) {
    double low = 0;
    double high = 0;
    for (const double margin : margins) {
        low = std::min(low, margin);
        high = std::max(high, margin);
    }
    MarginBins bins;
    bins.width = niceStep(high > low ? high - low : 1.0, wanted);
    bins.firstIndex = static_cast<long long>(std::floor(low / bins.width));
    const auto lastIndex = static_cast<long long>(std::floor(high / bins.width));
    bins.counts.assign(static_cast<std::size_t>(lastIndex - bins.firstIndex + 1), 0);
    for (const double margin : margins) {
        const long long index = static_cast<long long>(std::floor(margin / bins.width));
        // A margin's sign decides its side of the pass line, whatever the rounding of the division.
        const long long bin = std::clamp(index, bins.firstIndex, lastIndex) - bins.firstIndex;
        ++bins.counts[static_cast<std::size_t>(bin)];
    }
    return bins;
}

void drawLotChart(Canvas& canvas, const LotSummary& summary, bool byTime) {
    LotChart(canvas, summary, byTime).draw();
}

std::string lotChartTitle(const LotSummary& summary) {
    return "Lot of " + countText(summary.given(), "list", "lists");
}

std::string lotChartSvg(const LotSummary& summary, bool byTime, std::string_view description) {
    SvgCanvas canvas(kLotChartSize, lotChartTitle(summary), description);
    drawLotChart(canvas, summary, byTime);
    return canvas.document();
}

}  // namespace ambersel::plot
