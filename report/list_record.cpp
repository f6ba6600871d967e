#include "report/list_record.h"

#include <string_view>
#include <utility>

#include "plot/drawing/chart_drawing.h"
#include "plot/layout/spectrum_chart.h"

namespace ambersel::report {

ListRecord recordOf(const EvaluatedList& list) {
    const ListAnalysis& analysis = list.analysis;
    ListRecord record;
    record.name = list.isStandardInput() ? std::string("standard input") : list.name;
    record.file = list.facts;
    record.fileWrittenAfterReading = list.factsWithheld;
    record.verdict = analysis.verdict;
    record.resultLine = formatVerdictUtf8(analysis.verdict);
    record.margin = analysis.margin;
    record.pointCount = analysis.points.size();
    record.stop = analysis.stop;
    record.heaviest = analysis.heaviest;
    record.bands = analysis.bands;
    record.picture = recordPicture(plot::spectrumChart({listFileName(list), &analysis}));
    return record;
}

std::string listFileName(const EvaluatedList& list) {
    if (list.isStandardInput()) {
        return "standard input";
    }
#if defined(_WIN32)
    constexpr std::string_view kSeparators = "\\/:";
#else
    constexpr std::string_view kSeparators = "/";
#endif
    const std::size_t last = list.name.find_last_of(kSeparators);
    return last == std::string::npos ? list.name : list.name.substr(last + 1);
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
