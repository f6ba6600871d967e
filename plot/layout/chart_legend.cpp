#include "plot/layout/chart_legend.h"

#include <algorithm>

#include "text/value_text.h"

namespace ambersel::plot {
namespace {

constexpr std::string_view kEllipsis = "\u2026";
// How far an entry's verdict and margin stand in from its name, to leave room for the sample.
constexpr double kIndent = 26;

bool continuesSequence(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0U) == 0x80U;
}

// The first `count` bytes of `text`, fewer when that would end inside a UTF-8 sequence.
std::string_view headOf(std::string_view text, std::size_t count) {
    while (count > 0 && count < text.size() && continuesSequence(text[count])) {
        --count;
    }
    return text.substr(0, count);
}

// The last `count` bytes of `text`, fewer when that would begin inside a UTF-8 sequence.
std::string_view tailOf(std::string_view text, std::size_t count) {
    std::size_t start = text.size() - count;
    while (start < text.size() && continuesSequence(text[start])) {
        ++start;
    }
    return text.substr(start);
}

}  // namespace

SeriesStyle seriesStyle(std::size_t index) {
    constexpr MarkShape kShapes[] = {MarkShape::Circle, MarkShape::Square, MarkShape::TriangleUp,
                                     MarkShape::Diamond};
    return {index % kSeriesColours, kShapes[(index / kSeriesColours) % std::size(kShapes)]};
}

std::string elidedToFit(const std::string& text, double width, TextRole role,
                        const MeasureText& measure) {
    if (measure(text, role).width <= width) {
        return text;
    }
    for (std::size_t kept = text.size(); kept-- > 0;) {
        const std::string_view tail = tailOf(text, kept / 2);
        std::string cut(headOf(text, kept - kept / 2));
        cut.append(kEllipsis).append(tail);
        if (measure(cut, role).width <= width) {
            return cut;
        }
    }
    return std::string(kEllipsis);
}

Legend layOutLegend(const Chart& chart, const Rect& column, const MeasureText& measure) {
    Legend legend;
    const double step = measure("Ag", TextRole::LegendText).height + 2;
    legend.heading = {{column.left, column.top + step}, "Lists"};
    double top = column.top + 2 * step;
    const std::string sizeNote = "mark size: " + chart.weightName;
    const std::size_t noteLines = 2;
    for (std::size_t index = 0; index < chart.series.size(); ++index) {
        const Series& series = chart.series[index];
        const double bottom = top + 3 * step + step / 2;
        if (bottom + noteLines * step > column.bottom()) {
            break;
        }
        LegendEntry& entry = legend.entries.emplace_back();
        entry.series = index;
        entry.name = {{column.left, top + step},
                      elidedToFit(series.name, column.width, TextRole::LegendHeading, measure)};
        entry.verdict = {{column.left + kIndent, top + 2 * step}, series.verdict};
        entry.margin = {{column.left + kIndent, top + 3 * step}, series.margin};
        entry.sample = {column.left + kIndent / 2 - 2, top + 2 * step - step / 3};
        entry.bounds = Rect::fromCorners({column.left, top}, {column.right(), bottom});
        top = bottom;
    }
    top += step / 2;
    legend.notes.push_back({{column.left, top + step}, sizeNote});
    if (const std::size_t unlisted = chart.series.size() - legend.entries.size(); unlisted > 0) {
        legend.notes.push_back({{column.left, top + 2 * step},
                                "and " + countText(unlisted, "more list", "more lists")});
    }
    return legend;
}

}  // namespace ambersel::plot
