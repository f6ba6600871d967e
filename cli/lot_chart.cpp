#include "cli/lot_chart.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <optional>
#include <sstream>

#include "evaluation/value_text.h"
#include "plot/canvas/svg_canvas.h"
#include "plot/drawing/chart_colours.h"
#include "plot/layout/scale.h"

namespace ambersel::cli {
namespace {

using plot::Colour;
using plot::Font;
using plot::Point;
using plot::Rect;
using plot::Style;
using plot::TextAnchor;

constexpr Rect kHistogramArea{90, 118, 1070, 290};
constexpr Rect kTrendArea{90, 528, 1070, 290};
constexpr Colour kGridColour{0xe0, 0xe0, 0xe0};
constexpr Font kTitleFont{18, true};
constexpr Font kHeadingFont{15, true};
constexpr Font kTextFont{13};
constexpr double kBarGap = 1;

// 10^exponent, the double nearest to it: the same on every platform, which pow is not.
double powerOfTen(int exponent) {
    const std::string text = "1e" + std::to_string(exponent);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

struct RoundStep {
    double step = 1;
    int decimals = 0;  // what its multiples need to be written exactly
};

// The step of 1, 2 or 5 times a power of ten that cuts `span` into at most about `wanted` parts.
RoundStep roundStep(double span, int wanted) {
    if (!(span > 0) || !std::isfinite(span)) {
        return {};
    }
    const double raw = span / wanted;
    int exponent = static_cast<int>(std::floor(std::log10(raw)));
    // The logarithm may miss an exact power of ten by a unit in the last place; the powers decide.
    while (powerOfTen(exponent) > raw) {
        --exponent;
    }
    while (powerOfTen(exponent + 1) <= raw) {
        ++exponent;
    }
    for (const int factor : {1, 2, 5, 10}) {
        const double step = factor * powerOfTen(exponent);
        if (step >= raw) {
            return {step, std::max(0, factor == 10 ? -exponent - 1 : -exponent)};
        }
    }
    return {};
}

Style filled(Colour colour) {
    return {colour, std::nullopt};
}

Style stroked(Colour colour, double width) {
    return {std::nullopt, plot::Stroke{colour, width}};
}

void line(plot::Canvas& canvas, Point from, Point to, const Style& style) {
    const std::array<Point, 2> points{from, to};
    canvas.path(points, false, style);
}

std::string tickText(double value, int decimals) {
    // A tick at -0 reads as 0.
    return decimalsText(value + 0.0, decimals);
}

// "12-07 06:00", a UTC time on a trend's axis; with seconds where the ticks are that close.
std::string timeText(std::int64_t seconds, bool withSeconds) {
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const std::int64_t inDay = seconds - days * 86400;
    const std::chrono::year_month_day date{std::chrono::sys_days(std::chrono::days(days))};
    const auto two = [](long long value) {
        return std::string(value < 10 ? "0" : "") + std::to_string(value);
    };
    std::string text = two(static_cast<unsigned>(date.month())) + "-" +
                       two(static_cast<unsigned>(date.day())) + " " + two(inDay / 3600) + ":" +
                       two(inDay / 60 % 60);
    return withSeconds ? text + ":" + two(inDay % 60) : text;
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
    const auto days = static_cast<std::int64_t>(roundStep(span / 86400, 8).step);
    return std::max<std::int64_t>(days, 1) * 86400;
}

class LotChart {
  public:
    LotChart(plot::Canvas& canvas, const LotSummary& summary, bool byTime)
        : m_canvas(canvas), m_summary(summary), m_byTime(byTime) {}

    void draw() {
        m_canvas.rectangle({0, 0, kLotChartSize.width, kLotChartSize.height}, 0,
                           filled(plot::kWhite));
        drawHeading();
        drawHistogram();
        drawTrend();
    }

  private:
    void text(const std::string& text, Point at, TextAnchor anchor, const Font& font,
              Colour colour = plot::kInk, double degrees = 0) {
        m_canvas.text(text, at, anchor, font, colour, degrees);
    }

    void drawHeading();
    void drawHistogram();
    void drawTrend();
    void drawLevelAxis(const plot::Scale& scale, const Rect& area, double step, int decimals,
                       const std::string& title);
    void drawPassLine(const plot::Scale& margins, const Rect& area, bool across);
    void drawTrendLegend(const Rect& area);

    plot::Canvas& m_canvas;
    const LotSummary& m_summary;
    bool m_byTime;
};

void LotChart::drawHeading() {
    const std::size_t passed = m_summary.count(FileStatus::Pass);
    const std::size_t failed = m_summary.count(FileStatus::Fail);
    std::string heading = "Lot of " + countText(m_summary.given(), "list", "lists") + ": " +
                          std::to_string(passed) + " passed, " + std::to_string(failed) +
                          " failed, " + std::to_string(m_summary.count(FileStatus::Error)) +
                          " unreadable";
    if (passed + failed > 0) {
        heading +=
            "; yield " +
            decimalsText(100.0 * static_cast<double>(passed) / static_cast<double>(passed + failed),
                         2) +
            "%";
    }
    text(heading, {kHistogramArea.left, 34}, TextAnchor::Start, kTitleFont);
    std::string margins = "No list has a margin";
    if (const std::optional<MarginStatistics> statistics = m_summary.statistics()) {
        margins = "Margin: min " + marginText(statistics->minimum) + ", 5th percentile " +
                  marginText(statistics->fifthPercentile) + ", median " +
                  marginText(statistics->median) + ", max " + marginText(statistics->maximum) +
                  "; Cpk " +
                  (statistics->capability ? decimalsText(*statistics->capability, 2) : "none");
    }
    text(margins, {kHistogramArea.left, 58}, TextAnchor::Start, Font{14}, plot::kMutedInk);
}

void LotChart::drawLevelAxis(const plot::Scale& scale, const Rect& area, double step, int decimals,
                             const std::string& title) {
    for (const double value : plot::multiplesWithin(scale.range.low, scale.range.high, step)) {
        const double y = scale.place(value);
        line(m_canvas, {area.left, y}, {area.right(), y}, stroked(kGridColour, 1));
        text(tickText(value, decimals), {area.left - 8, y + 4.5}, TextAnchor::End, kTextFont);
    }
    text(title, {area.left - 58, area.centre().y}, TextAnchor::Middle, kTextFont, plot::kInk, -90);
}

void LotChart::drawPassLine(const plot::Scale& margins, const Rect& area, bool across) {
    const double at = margins.place(0);
    const Style style = stroked(plot::kInk, 1.6);
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
        } else if (entry.status == FileStatus::Fail) {
            ++withoutMargin;
        }
    }
    text("Margins of " + countText(margins.size(), "list", "lists"), {area.left, area.top - 12},
         TextAnchor::Start, kHeadingFont);
    const MarginBins bins = marginBins(margins, 40);
    const plot::Scale x{
        {bins.lowerEdge(0), bins.lowerEdge(bins.counts.size())}, area.left, area.width};
    const std::size_t most =
        bins.counts.empty() ? 0 : *std::max_element(bins.counts.begin(), bins.counts.end());
    const RoundStep countStep = roundStep(static_cast<double>(std::max<std::size_t>(most, 1)), 5);
    const double step = std::max(countStep.step, 1.0);
    const plot::Scale y{
        {0, std::ceil(static_cast<double>(std::max<std::size_t>(most, 1)) / step) * step},
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
            0, filled(failing ? plot::kFailColour : plot::kPassColour));
    }
    const RoundStep tick = roundStep(x.range.span(), 12);
    for (const double value : plot::multiplesWithin(x.range.low, x.range.high, tick.step)) {
        text(tickText(value, tick.decimals), {x.place(value), area.bottom() + 18},
             TextAnchor::Middle, kTextFont);
    }
    text("margin (dB): below 0 the list fails", {area.centre().x, area.bottom() + 40},
         TextAnchor::Middle, kTextFont);
    m_canvas.rectangle(area, 0, stroked(plot::kFrameColour, 1));
    drawPassLine(x, area, true);
    if (withoutMargin > 0) {
        text(std::to_string(withoutMargin) +
                 (withoutMargin == 1 ? " failing list has" : " failing lists have") +
                 " no margin (F not finite or negative) and is not counted here",
             {area.right(), area.top - 12}, TextAnchor::End, kTextFont, plot::kFailColour);
    }
}

void LotChart::drawTrendLegend(const Rect& area) {
    struct Key {
        plot::MarkShape shape;
        double radius;
        Colour colour;
        const char* label;
    };
    const std::array<Key, 3> keys{
        {{plot::MarkShape::Circle, 3, plot::kPassColour, "passed"},
         {plot::MarkShape::Diamond, 5, plot::kFailColour, "failed"},
         {plot::MarkShape::TriangleDown, 5, plot::kFailColour, "failed without a margin"}}};
    double left = area.right() - 360;
    for (const Key& key : keys) {
        const Point centre{left, area.top - 16};
        m_canvas.marks(std::span<const Point>(&centre, 1), key.shape, key.radius,
                       filled(key.colour));
        text(key.label, {left + 10, area.top - 11.5}, TextAnchor::Start, kTextFont);
        left += key.shape == plot::MarkShape::Circle ? 80 : 90;
    }
}

void LotChart::drawTrend() {
    const Rect& area = kTrendArea;
    struct Placed {
        double at;
        std::optional<double> margin;
        bool failed;
    };
    std::vector<Placed> placed;
    double lowMargin = 0;
    double highMargin = 0;
    const std::vector<LotEntry>& entries = m_summary.entries();
    for (std::size_t position = 0; position < entries.size(); ++position) {
        const LotEntry& entry = entries[position];
        const bool failed = entry.status == FileStatus::Fail;
        if (entry.status == FileStatus::Error || (!entry.margin && !failed) ||
            (m_byTime && !entry.modified)) {
            continue;
        }
        placed.push_back(
            {m_byTime ? static_cast<double>(*entry.modified) : static_cast<double>(position + 1),
             entry.margin, failed});
        if (entry.margin) {
            lowMargin = std::min(lowMargin, *entry.margin);
            highMargin = std::max(highMargin, *entry.margin);
        }
    }
    text(m_byTime ? "Margin of each list over its file's modification time"
                  : "Margin of each list in the order given",
         {area.left, area.top - 12}, TextAnchor::Start, kHeadingFont);
    drawTrendLegend(area);
    double first = 1;
    double last = static_cast<double>(std::max<std::size_t>(entries.size(), 2));
    if (m_byTime && !placed.empty()) {
        const auto [low, high] =
            std::minmax_element(placed.begin(), placed.end(),
                                [](const Placed& a, const Placed& b) { return a.at < b.at; });
        first = low->at;
        last = std::max(high->at, first + 60);
    }
    const plot::Range xRange = plot::paddedRange(first, last, 1, 0.02);
    const plot::Scale x{xRange, area.left, area.width};
    const plot::Range yRange = plot::paddedRange(lowMargin, highMargin, 1, 0.06);
    const plot::Scale y{yRange, area.bottom(), -area.height};
    const RoundStep yStep = roundStep(yRange.span(), 6);
    drawLevelAxis(y, area, yStep.step, yStep.decimals, "margin (dB)");
    if (m_byTime) {
        const std::int64_t step = timeStep(xRange.span());
        for (const double at :
             plot::multiplesWithin(xRange.low, xRange.high, static_cast<double>(step))) {
            text(timeText(static_cast<std::int64_t>(at), step < 60),
                 {x.place(at), area.bottom() + 18}, TextAnchor::Middle, kTextFont);
        }
        text("modification time of the file (UTC)", {area.centre().x, area.bottom() + 40},
             TextAnchor::Middle, kTextFont);
    } else {
        const double step = std::max(roundStep(xRange.span(), 10).step, 1.0);
        for (const double at : plot::multiplesWithin(xRange.low, xRange.high, step)) {
            text(tickText(at, 0), {x.place(at), area.bottom() + 18}, TextAnchor::Middle, kTextFont);
        }
        text("list, in the order given", {area.centre().x, area.bottom() + 40}, TextAnchor::Middle,
             kTextFont);
    }
    drawPassLine(y, area, false);
    std::vector<Point> passes;
    std::vector<Point> failures;
    std::vector<Point> withoutMargin;
    for (const Placed& list : placed) {
        if (!list.margin) {
            withoutMargin.push_back({x.place(list.at), area.bottom() - 7});
        } else {
            (list.failed ? failures : passes).push_back({x.place(list.at), y.place(*list.margin)});
        }
    }
    m_canvas.clip(area);
    m_canvas.marks(passes, plot::MarkShape::Circle, 2.6, filled(plot::kPassColour));
    m_canvas.marks(failures, plot::MarkShape::Diamond, 5,
                   {plot::kFailColour, plot::Stroke{plot::kWhite, 0.8}});
    m_canvas.marks(withoutMargin, plot::MarkShape::TriangleDown, 5,
                   {plot::kFailColour, plot::Stroke{plot::kWhite, 0.8}});
    m_canvas.clip(std::nullopt);
    m_canvas.rectangle(area, 0, stroked(plot::kFrameColour, 1));
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
    bins.width = roundStep(high > low ? high - low : 1.0, wanted).step;
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

void drawLotChart(plot::Canvas& canvas, const LotSummary& summary, bool byTime) {
    LotChart(canvas, summary, byTime).draw();
}

std::string lotChartTitle(const LotSummary& summary) {
    return "Lot of " + countText(summary.given(), "list", "lists");
}

std::string lotChartSvg(const LotSummary& summary, bool byTime) {
    std::ostringstream text;
    summary.writeText(text);
    // The summary's lines as one line: a picture's description holds no line breaks.
    std::istringstream lines(text.str());
    std::string description;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos) {
            const char* joint = description.empty() ? "" : (description.back() == ':' ? " " : "; ");
            description += joint + line.substr(start);
        }
    }
    plot::SvgCanvas canvas(kLotChartSize, lotChartTitle(summary), description);
    drawLotChart(canvas, summary, byTime);
    return canvas.document();
}

}  // namespace ambersel::cli
