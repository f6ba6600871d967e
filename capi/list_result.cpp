#include "capi/list_result.h"

#include <sstream>

#include "capi/ambersel.h"
#include "cli/argument_text.h"
#include "cli/json_report.h"

namespace ambersel::capi {
namespace {

using cli::FileEvaluation;
using cli::FileStatus;

// An unattended caller must not take a truncated or foreign file for a pass.
void applyStrictness(FileEvaluation& evaluation, Strictness strictness) {
    if (strictness != Strictness::Strict || evaluation.status == FileStatus::Error) {
        return;
    }
    if (evaluation.points.empty()) {
        evaluation.errorReason = "the list holds no points";
    } else if (evaluation.stop.end == ReadingEnd::MalformedItem) {
        evaluation.errorReason = "reading stopped at line " + std::to_string(evaluation.stop.line) +
                                 ", before the end of the file";
    } else {
        return;
    }
    evaluation.status = FileStatus::Error;
}

ambersel_result resultOf(FileEvaluation evaluation, Strictness strictness, int unreadable) {
    applyStrictness(evaluation, strictness);
    int status = AMBERSEL_OK;
    if (evaluation.status == FileStatus::Error) {
        const bool complete = evaluation.opened && evaluation.stop.end != ReadingEnd::ReadError &&
                              evaluation.stop.end != ReadingEnd::FileChanged;
        status = complete ? AMBERSEL_ERROR_INCOMPLETE : unreadable;
    }
    return ambersel_result{std::move(evaluation), status};
}

}  // namespace

ambersel_result evaluateFile(const std::string& path, Strictness strictness) {
    // The evaluator reads standard input for "-"; here it is a file of that name.
    const bool dash = path == "-";
    FileEvaluation evaluation = cli::evaluateListFile(dash ? "./-" : path);
    evaluation.argument = path;
    const int unreadable =
        cli::pathOfArgument(path) ? AMBERSEL_ERROR_UNREADABLE : AMBERSEL_ERROR_PATH;
    return resultOf(std::move(evaluation), strictness, unreadable);
}

std::optional<std::filesystem::path> pathOfText(const std::string& text) {
    return cli::pathOfArgument(text);
}

ambersel_result evaluatePath(const std::filesystem::path& path, Strictness strictness) {
    return evaluateFile(cli::argumentOfPath(path), strictness);
}

ambersel_result evaluateBytes(std::span<const char> bytes, std::string name,
                              Strictness strictness) {
    FileEvaluation evaluation;
    evaluation.argument = std::move(name);
    evaluation.opened = true;
    evaluation.stop = scanFrequencyLevelList(bytes, evaluation.points);
    evaluation.verdict = evaluateTestFigure(evaluation.points);
    evaluation.status = evaluation.verdict.failed ? FileStatus::Fail : FileStatus::Pass;
    return resultOf(std::move(evaluation), strictness, AMBERSEL_ERROR_UNREADABLE);
}

std::string jsonObject(const ambersel_result& result, std::size_t heaviest,
                       std::vector<double> edges, bool pointTable) {
    std::ostringstream out;
    cli::writeJsonObject(out, result.evaluation,
                         cli::JsonContent{pointTable, heaviest, std::move(edges)});
    return std::move(out).str();
}

}  // namespace ambersel::capi
