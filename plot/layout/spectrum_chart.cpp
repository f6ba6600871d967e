#include "plot/layout/spectrum_chart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "evaluation/figure_analysis.h"
#include "evaluation/value_text.h"
#include "plot/layout/scale.h"

namespace ambersel::plot {
namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();

// "4 points from 150 kHz to 30 MHz; 1 not drawn (...)", over every series.
std::string summaryOf(const std::vector<Series>& series) {
    std::size_t total = 0;
    std::size_t drawn = 0;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const Series& one : series) {
        total += one.points.size();
        for (const ChartPoint& point : one.points) {
            if (isDrawable(point)) {
                ++drawn;
                low = std::min(low, point.frequency);
                high = std::max(high, point.frequency);
            }
        }
    }
    std::string summary = countText(total, "point", "points");
    if (drawn > 0) {
        const std::string lowText = frequencyText(low, kLabelDigits);
        const std::string highText = frequencyText(high, kLabelDigits);
        summary += lowText == highText ? " at " + lowText : " from " + lowText + " to " + highText;
    }
    if (drawn < total) {
        summary += "; " + std::to_string(total - drawn) +
                   " not drawn (frequency not above 0, or a value not finite)";
    }
    return summary;
}

std::string readingNote(const ChartedList& list) {
    if (list.stop.end == ReadingEnd::MalformedItem) {
        return "Reading stopped at line " + std::to_string(list.stop.line) + " ('" +
               escapedBytes(list.stop.excerpt, false) +
               "'): that item and everything after it were not evaluated.";
    }
    return list.points->empty() ? "The file holds no points." : "";
}

bool weighsByFigure(const ChartedList& list) {
    return std::isfinite(list.verdict.figure) && list.verdict.figure > 0;
}

// Each point's share of F, or of the finite terms where F is no finite number above 0.
std::vector<ChartPoint> weightedPoints(const ChartedList& list) {
    const FrequencyLevelList& points = *list.points;
    std::vector<double> terms;
    terms.reserve(points.size());
    double finiteSum = 0;
    for (const FrequencyLevelPoint& point : points) {
        terms.push_back(contributeToTestFigure(point, 0.0F).term);
        finiteSum += std::isfinite(terms.back()) ? terms.back() : 0;
    }
    const double whole = weighsByFigure(list) ? double{list.verdict.figure} : finiteSum;
    std::vector<ChartPoint> weighted;
    weighted.reserve(points.size());
    for (std::size_t index = 0; index < points.size(); ++index) {
        const double term = terms[index];
        const double weight = !std::isfinite(term) ? kNotANumber : whole > 0 ? term / whole : 0;
        weighted.push_back({points[index].frequency, points[index].level, weight});
    }
    return weighted;
}

std::vector<ChartBand> bandsOf(const FrequencyLevelList& points, const std::vector<double>& edges) {
    std::vector<ChartBand> bands;
    if (edges.size() < 2) {
        return bands;
    }
    for (const BandShare& share : shareByBand(points, edges)) {
        // Without a frequency, a point has no place on the axis, and neither has its band.
        if (share.place != BandPlace::NoFrequency) {
            bands.push_back({share.lower, share.upper, share.share.value_or(kNotANumber),
                             share.share ? percentText(*share.share) : std::string()});
        }
    }
    return bands;
}

Series seriesOf(const ChartedList& list, const std::vector<double>& edges) {
    Series series;
    series.name = list.name;
    series.verdict = formatVerdictUtf8(list.verdict);
    series.failed = list.verdict.failed;
    series.margin = marginNote(list.verdict.figure);
    series.points = weightedPoints(list);
    series.bands = bandsOf(*list.points, edges);
    return series;
}

// The decades that every list's decades lie in.
std::vector<double> commonDecades(const std::vector<ChartedList>& lists) {
    double lowest = std::numeric_limits<double>::infinity();
    double highest = 0;
    for (const ChartedList& list : lists) {
        const std::vector<double> decades = decadeEdges(*list.points);
        if (!decades.empty()) {
            lowest = std::min(lowest, decades.front());
            highest = std::max(highest, decades.back());
        }
    }
    if (highest == 0) {
        return {};
    }
    return decadeEdges(lowest, highest);
}

// "2 lists: 1 FAIL, 1 PASS".
std::string overlayTitle(const std::vector<ChartedList>& lists) {
    const auto failed = static_cast<std::size_t>(std::count_if(
        lists.begin(), lists.end(), [](const ChartedList& list) { return list.verdict.failed; }));
    std::string title = countText(lists.size(), "list", "lists") + ":";
    if (failed > 0) {
        title += " " + std::to_string(failed) + " FAIL";
    }
    if (failed < lists.size()) {
        title += std::string(failed > 0 ? "," : "") + " " + std::to_string(lists.size() - failed) +
                 " PASS";
    }
    return title;
}

std::string overlayWarning(const std::vector<ChartedList>& lists) {
    std::vector<std::string> names;
    std::string note;
    for (const ChartedList& list : lists) {
        if (std::string own = readingNote(list); !own.empty()) {
            names.push_back(list.name);
            note = list.name + ": " + own;
        }
    }
    if (names.size() < 2) {
        return note;
    }
    note = std::to_string(names.size()) + " lists were cut short or hold no points: " + names[0];
    for (std::size_t index = 1; index < names.size(); ++index) {
        note += ", " + names[index];
    }
    return note;
}

}  // namespace

std::string marginNote(float figure) {
    const std::optional<double> margin = marginDb(figure);
    // Rounded as every other report of the margin rounds it.
    return margin ? "margin " + marginText(margin) : "no margin";
}

Chart spectrumChart(const ChartedList& list, const std::vector<double>& bandEdges) {
    Chart chart;
    chart.title = formatVerdictUtf8(list.verdict);
    chart.titleNote = marginNote(list.verdict.figure);
    chart.failed = list.verdict.failed;
    chart.subject = list.name;
    chart.weightName = weighsByFigure(list) ? "share of F" : "share of finite terms";
    chart.bandsName = "share of F";
    chart.series.push_back(
        seriesOf(list, bandEdges.size() >= 2 ? bandEdges : decadeEdges(*list.points)));
    chart.summary = summaryOf(chart.series);
    chart.warning = readingNote(list);
    return chart;
}

Chart overlayChart(const std::vector<ChartedList>& lists, const std::vector<double>& bandEdges) {
    if (lists.size() == 1) {
        return spectrumChart(lists.front(), bandEdges);
    }
    const std::vector<double> edges = bandEdges.size() >= 2 ? bandEdges : commonDecades(lists);
    Chart chart;
    chart.title = overlayTitle(lists);
    chart.failed = std::any_of(lists.begin(), lists.end(),
                               [](const ChartedList& list) { return list.verdict.failed; });
    chart.weightName = "share of its list's F";
    chart.bandsName = "share of F";
    for (const ChartedList& list : lists) {
        chart.series.push_back(seriesOf(list, edges));
    }
    chart.summary = summaryOf(chart.series);
    chart.warning = overlayWarning(lists);
    return chart;
}

}  // namespace ambersel::plot
