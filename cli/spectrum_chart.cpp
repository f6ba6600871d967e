#include "cli/spectrum_chart.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "cli/number_text.h"
#include "cli/text_reports.h"
#include "plot/layout/value_text.h"

namespace ambersel::cli {
namespace {

// "4 points from 150 kHz to 30 MHz; 1 not drawn (...)".
std::string summaryOf(const plot::Series& series) {
    std::size_t drawn = 0;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const plot::ChartPoint& point : series.points) {
        if (plot::isDrawable(point)) {
            ++drawn;
            low = std::min(low, point.frequency);
            high = std::max(high, point.frequency);
        }
    }
    std::string summary = pointCount(series.points.size());
    if (drawn > 0) {
        const std::string lowText = plot::frequencyText(low);
        const std::string highText = plot::frequencyText(high);
        summary += lowText == highText ? " at " + lowText : " from " + lowText + " to " + highText;
    }
    if (drawn < series.points.size()) {
        summary += "; " + std::to_string(series.points.size() - drawn) +
                   " not drawn (frequency not above 0, or a value not finite)";
    }
    return summary;
}

std::string readingNote(const FileEvaluation& evaluation) {
    if (evaluation.stop.end == ReadingEnd::MalformedItem) {
        return "Reading stopped at line " + std::to_string(evaluation.stop.line) + " ('" +
               escapedBytes(evaluation.stop.excerpt, false) +
               "'): that item and everything after it were not evaluated.";
    }
    return evaluation.points.empty() ? "The file holds no points." : "";
}

}  // namespace

plot::Chart spectrumChart(const FileEvaluation& evaluation) {
    plot::Chart chart;
    chart.title = formatVerdictUtf8(evaluation.verdict);
    chart.failed = evaluation.verdict.failed;
    chart.subject = evaluation.isStandardInput()
                        ? std::string("standard input")
                        : std::filesystem::path(evaluation.argument).filename().string();

    std::vector<double> terms;
    terms.reserve(evaluation.points.size());
    double finiteSum = 0;
    for (const FrequencyLevelPoint& point : evaluation.points) {
        terms.push_back(contributeToTestFigure(point, 0.0F).term);
        finiteSum += std::isfinite(terms.back()) ? terms.back() : 0;
    }
    const float figure = evaluation.verdict.figure;
    const bool sharesOfFigure = std::isfinite(figure) && figure > 0;
    chart.weightName = sharesOfFigure ? "share of F" : "share of finite terms";

    plot::Series& series = chart.series.emplace_back();
    series.name = chart.subject;
    series.points.reserve(evaluation.points.size());
    for (std::size_t index = 0; index < evaluation.points.size(); ++index) {
        const double term = terms[index];
        double weight = std::numeric_limits<double>::quiet_NaN();
        if (std::isfinite(term)) {
            weight = sharesOfFigure ? *shareOfFigure(term, figure)
                                    : (finiteSum > 0 ? term / finiteSum : 0);
        }
        series.points.push_back(
            {evaluation.points[index].frequency, evaluation.points[index].level, weight});
    }
    chart.summary = summaryOf(series);
    chart.warning = readingNote(evaluation);
    return chart;
}

}  // namespace ambersel::cli
