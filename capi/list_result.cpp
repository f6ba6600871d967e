#include "capi/list_result.h"

#include <sstream>

#include "capi/ambersel.h"
#include "cli/argument_text.h"
#include "files/list_reading.h"
#include "results/json_object.h"

namespace ambersel::capi {
namespace {

// Every result holds every point's term and the bands over the decades, as the JSON object gives
// them; bands between other edges and the heaviest points are read from those terms on request.
AnalysisScope libraryScope() {
    AnalysisScope scope;
    scope.terms = true;
    scope.bands = true;
    return scope;
}

ambersel_result resultOf(EvaluatedList list, Strictness strictness, int unreadable) {
    if (strictness == Strictness::Strict) {
        refuseIncompleteList(list);
    }
    int status = AMBERSEL_OK;
    if (!list.hasVerdict()) {
        const bool complete = list.opened && list.analysis.stop.end != ReadingEnd::ReadError &&
                              list.analysis.stop.end != ReadingEnd::FileChanged;
        status = complete ? AMBERSEL_ERROR_INCOMPLETE : unreadable;
    }
    return ambersel_result{std::move(list), status};
}

}  // namespace

ambersel_result evaluateFile(const std::string& path, Strictness strictness) {
    const std::optional<std::filesystem::path> file = cli::pathOfArgument(path);
    if (!file) {
        return resultOf(unopenedList(path, ListFileError::UnconvertiblePath), strictness,
                        AMBERSEL_ERROR_PATH);
    }
    return resultOf(evaluateListFile(path, *file, libraryScope(), FactsWanted::No), strictness,
                    AMBERSEL_ERROR_UNREADABLE);
}

std::optional<std::filesystem::path> pathOfText(const std::string& text) {
    return cli::pathOfArgument(text);
}

ambersel_result evaluatePath(const std::filesystem::path& path, Strictness strictness) {
    return evaluateFile(cli::argumentOfPath(path), strictness);
}

ambersel_result evaluateBytes(std::span<const char> bytes, std::string name,
                              Strictness strictness) {
    FrequencyLevelList points;
    ReadingStop stop = scanFrequencyLevelList(bytes, points);
    return resultOf(
        evaluatedList(std::move(name), std::move(points), std::move(stop), libraryScope()),
        strictness, AMBERSEL_ERROR_UNREADABLE);
}

std::vector<BandShare> bandsOf(const ambersel_result& result, const std::vector<double>& edges) {
    const ListAnalysis& analysis = result.list.analysis;
    if (edges.empty()) {
        return analysis.bands;
    }
    return shareByBand(analysis.points, analysis.terms, edges);
}

std::vector<RankedPoint> heaviestOf(const ambersel_result& result, std::size_t count) {
    const ListAnalysis& analysis = result.list.analysis;
    std::vector<RankedPoint> heaviest = heaviestPoints(analysis.points, analysis.terms, count);
    for (RankedPoint& point : heaviest) {
        point.share = shareOfFigure(point.term, analysis.verdict.figure);
    }
    return heaviest;
}

std::string jsonObject(const ambersel_result& result, std::size_t heaviest,
                       const std::vector<double>& edges, bool pointTable) {
    std::ostringstream out;
    const JsonContent content{pointTable, heaviest};
    if (heaviest == 0 && edges.empty()) {
        writeJsonObject(out, result.list, content);
    } else {
        // The writer reads bands and heaviest points from the analysis it is given: a copy of
        // this one with those asked for, taken from its terms.
        EvaluatedList list = result.list;
        if (list.hasVerdict()) {
            list.analysis.bands = bandsOf(result, edges);
            list.analysis.bandEdges = edges.empty() ? list.analysis.bandEdges : edges;
            list.analysis.heaviest = heaviestOf(result, heaviest);
        }
        writeJsonObject(out, list, content);
    }
    return std::move(out).str();
}

}  // namespace ambersel::capi
