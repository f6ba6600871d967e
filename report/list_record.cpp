#include "report/list_record.h"

#include <memory>
#include <span>
#include <stdexcept>
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

std::vector<AttachedFile> listEvidence(const EvaluatedList& list, const std::filesystem::path& path,
                                       const ListFileStamp& stamp, std::string json) {
    std::vector<AttachedFile> files;
    const std::string name = listFileName(list);
    const std::int64_t modified = list.facts ? list.facts->modifiedSeconds : 0;
    if (list.facts && !list.isStandardInput()) {
        files.push_back({AttachedFile::Role::Source, name, "text/plain",
                         "The evaluated list, byte for byte", modified, list.facts->size,
                         [path, stamp, shown = list.name](const auto& piece) {
                             const ContentSink sink = [&piece](std::span<const unsigned char> b) {
                                 piece({reinterpret_cast<const char*>(b.data()), b.size()});
                             };
                             if (!readStampedListFile(path, stamp, sink)) {
                                 throw std::runtime_error("the list " + shown +
                                                          " was changed after it was evaluated");
                             }
                         }});
    }
    const auto shared = std::make_shared<const std::string>(std::move(json));
    files.push_back({AttachedFile::Role::Data, name + ".json", "application/json",
                     "The evaluation, as ambersel-eval --json writes it", modified, shared->size(),
                     [shared](const auto& piece) { piece(*shared); }});
    return files;
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
