#include "plot/layout/spectrum_chart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "evaluation/list_analysis.h"
#include "plot/layout/scale.h"
#include "text/byte_text.h"
#include "text/value_text.h"

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
    const ReadingStop& stop = list.analysis->stop;
    if (stop.end == ReadingEnd::MalformedItem) {
        return "Reading stopped at line " + std::to_string(stop.line) + " ('" +
               escapedBytes(stop.excerpt, false) +
               "'): that item and everything after it were not evaluated.";
    }
    return list.analysis->points.empty() ? "The file holds no points." : "";
}

bool weighsByFigure(const ChartedList& list) {
    const float figure = list.analysis->verdict.figure;
    return std::isfinite(figure) && figure > 0;
}

// Each point's share of F, or of the finite terms where F is no finite number above 0.
std::vector<ChartPoint> weightedPoints(const ChartedList& list) {
    const FrequencyLevelList& points = list.analysis->points;
    const std::vector<double>& terms = list.analysis->terms;
    double finiteSum = 0;
    for (const double term : terms) {
        finiteSum += std::isfinite(term) ? term : 0;
    }
    const double whole = weighsByFigure(list) ? double{list.analysis->verdict.figure} : finiteSum;
    std::vector<ChartPoint> weighted;
    weighted.reserve(points.size());
    for (std::size_t index = 0; index < points.size(); ++index) {
        const double term = terms[index];
        weighted.push_back({points[index].frequency, points[index].level,
                            !std::isfinite(term) ? kNotANumber
                            : whole > 0          ? term / whole
                                                 : 0});
    }
    return weighted;
}

std::vector<ChartBand> bandsOf(const std::vector<BandShare>& shares) {
    std::vector<ChartBand> bands;
    for (const BandShare& share : shares) {
        // Without a frequency, a point has no place on the axis, and neither has its band.
        if (share.place != BandPlace::NoFrequency) {
            bands.push_back({share.lower, share.upper, share.share.value_or(kNotANumber),
                             share.share ? percentText(*share.share) : std::string()});
        }
    }
    return bands;
}

// The list as a series whose bands are `shares`.
Series seriesOf(const ChartedList& list, const std::vector<BandShare>& shares) {
    const ListAnalysis& analysis = *list.analysis;
    Series series;
    series.name = list.name;
    series.verdict = formatVerdictUtf8(analysis.verdict);
    series.failed = analysis.verdict.failed;
    series.margin = marginNote(analysis.margin);
    series.points = weightedPoints(list);
    series.bands = bandsOf(shares);
    return series;
}

// "2 lists: 1 FAIL, 1 PASS".
std::string overlayTitle(const std::vector<ChartedList>& lists) {
    const auto failed = static_cast<std::size_t>(
        std::count_if(lists.begin(), lists.end(),
                      [](const ChartedList& list) { return list.analysis->verdict.failed; }));
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

std::string marginNote(std::optional<double> margin) {
    // Rounded as every other report of the margin rounds it.
    return margin ? "margin " + marginText(margin) : "no margin";
}

Chart spectrumChart(const ChartedList& list) {
    const TestVerdict& verdict = list.analysis->verdict;
    Chart chart;
    chart.title = formatVerdictUtf8(verdict);
    chart.titleNote = marginNote(list.analysis->margin);
    chart.failed = verdict.failed;
    chart.subject = list.name;
    chart.weightName = weighsByFigure(list) ? "share of F" : "share of finite terms";
    chart.bandsName = "share of F";
    chart.series.push_back(seriesOf(list, list.analysis->bands));
    chart.summary = summaryOf(chart.series);
    chart.warning = readingNote(list);
    return chart;
}

Chart overlayChart(const std::vector<ChartedList>& lists, const std::vector<double>& bandEdges) {
    if (lists.size() == 1) {
        return spectrumChart(lists.front());
    }
    std::vector<const FrequencyLevelList*> points;
    points.reserve(lists.size());
    for (const ChartedList& list : lists) {
        points.push_back(&list.analysis->points);
    }
    const std::vector<double> edges = bandEdgesFor(bandEdges, points);
    Chart chart;
    chart.title = overlayTitle(lists);
    chart.failed = std::any_of(lists.begin(), lists.end(), [](const ChartedList& list) {
        return list.analysis->verdict.failed;
    });
    chart.weightName = "share of its list's F";
    chart.bandsName = "share of F";
    for (const ChartedList& list : lists) {
        // A list's own bands where they lie between the common edges, else its terms shared out
        // between those.
        const ListAnalysis& analysis = *list.analysis;
        chart.series.push_back(
            seriesOf(list, edges == analysis.bandEdges || edges.empty()
                               ? analysis.bands
                               : shareByBand(analysis.points, analysis.terms, edges)));
    }
    chart.summary = summaryOf(chart.series);
    chart.warning = overlayWarning(lists);
    return chart;
}

}  // namespace ambersel::plot
