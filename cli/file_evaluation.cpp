#include "cli/file_evaluation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <queue>

#include "evaluation/list_file.h"

namespace ambersel::cli {
namespace {

bool ranksAbove(const RankedPoint& a, const RankedPoint& b) {
    const bool aNan = std::isnan(a.term);
    const bool bNan = std::isnan(b.term);
    if (aNan != bNan) {
        return aNan;
    }
    const double aSize = aNan ? 0 : std::fabs(a.term);
    const double bSize = bNan ? 0 : std::fabs(b.term);
    if (aSize != bSize) {
        return aSize > bSize;
    }
    return a.index < b.index;
}

}  // namespace

bool FileEvaluation::deservesWarning() const {
    return status != FileStatus::Error && (stop.end == ReadingEnd::MalformedItem || points.empty());
}

FileEvaluation evaluateListFile(const std::string& argument) {
    FileEvaluation evaluation;
    evaluation.argument = argument;
    if (evaluation.isStandardInput()) {
        evaluation.opened = true;
        evaluation.stop = scanFrequencyLevelList(stdin, evaluation.points);
    } else {
        ListFileReading reading = readListFile(std::filesystem::path(argument));
        if (!reading.opened()) {
            evaluation.errorReason = reading.openError.message();
            return evaluation;
        }
        evaluation.opened = true;
        evaluation.points = std::move(reading.points);
        evaluation.stop = std::move(reading.stop);
    }
    // Half a list read is no list: a verdict on it could pass a failing file.
    if (evaluation.stop.end == ReadingEnd::ReadError) {
        evaluation.errorReason = "read error";
        return evaluation;
    }
    if (evaluation.stop.end == ReadingEnd::FileChanged) {
        evaluation.errorReason = "the file changed while it was read";
        return evaluation;
    }
    evaluation.verdict = evaluateTestFigure(evaluation.points);
    evaluation.status = evaluation.verdict.failed ? FileStatus::Fail : FileStatus::Pass;
    return evaluation;
}

std::optional<double> shareOfFigure(double term, float figure) {
    if (!std::isfinite(figure) || figure == 0) {
        return std::nullopt;
    }
    return term / double{figure};
}

std::vector<RankedPoint> heaviestPoints(const FrequencyLevelList& points, std::size_t count) {
    if (count == 0) {
        return {};
    }
    // A bounded heap whose top is the lightest point kept, so a list of millions costs only
    // `count` entries.
    std::priority_queue<RankedPoint, std::vector<RankedPoint>, decltype(&ranksAbove)> kept(
        &ranksAbove);
    for (std::size_t index = 0; index < points.size(); ++index) {
        const RankedPoint candidate{index, points[index],
                                    contributeToTestFigure(points[index], 0.0F).term};
        if (kept.size() < count) {
            kept.push(candidate);
        } else if (ranksAbove(candidate, kept.top())) {
            kept.pop();
            kept.push(candidate);
        }
    }
    std::vector<RankedPoint> heaviest;
    heaviest.reserve(kept.size());
    while (!kept.empty()) {
        heaviest.push_back(kept.top());
        kept.pop();
    }
    std::reverse(heaviest.begin(), heaviest.end());
    return heaviest;
}

}  // namespace ambersel::cli
