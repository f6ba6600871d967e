#include "report/list_record.h"

#include "plot/drawing/chart_drawing.h"

#include <utility>

namespace ambersel::report {

ListRecord recordOf(std::string name, const FrequencyLevelList& points, const ReadingStop& stop,
                    const std::vector<double>& bandEdges) {
    constexpr std::size_t kContributors = 10;
    ListRecord record;
    record.name = std::move(name);
    record.verdict = evaluateTestFigure(points);
    record.resultLine = formatVerdictUtf8(record.verdict);
    record.margin = marginDb(record.verdict.figure);
    record.pointCount = points.size();
    record.stop = stop;
    record.heaviest = heaviestPoints(points, kContributors);
    const std::vector<double> edges = bandEdges.empty() ? decadeEdges(points) : bandEdges;
    if (edges.size() >= 2) {
        record.bands = shareByBand(points, edges);
    }
    return record;
}

RecordPicture recordPicture(plot::Chart chart) {
    plot::ChartLayout layout = plot::layOutChart(chart);
    for (plot::Series& series : chart.series) {
        series.points = {};
    }
    return {std::move(chart), std::move(layout)};
}

std::variant<ReportHeading, std::string> reportHeadingNow(std::string programVersion) {
    auto time = evaluationTimeNow();
    if (auto* why = std::get_if<std::string>(&time)) {
        return std::move(*why);
    }
    return ReportHeading{std::move(programVersion), std::get<EvaluationTime>(time)};
}

std::string stopText(const ReadingStop& stop) {
    switch (stop.end) {
        case ReadingEnd::EndOfFile:
            return "end of file";
        case ReadingEnd::MalformedItem:
            return "line " + std::to_string(stop.line) + ": '" + stop.excerpt + "'";
        case ReadingEnd::FileChanged:
            return "the file changed while it was read";
        case ReadingEnd::ReadError:
            break;
    }
    return "read error";
}

}  // namespace ambersel::report
