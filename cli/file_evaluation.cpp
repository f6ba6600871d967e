#include "cli/file_evaluation.h"

#include <cstdio>

#include "cli/argument_text.h"
#include "evaluation/list_file.h"

namespace ambersel::cli {

bool FileEvaluation::deservesWarning() const {
    return status != FileStatus::Error && (stop.end == ReadingEnd::MalformedItem || points.empty());
}

const char* verdictName(FileStatus status) {
    switch (status) {
        case FileStatus::Pass:
            return "PASS";
        case FileStatus::Fail:
            return "FAIL";
        case FileStatus::Error:
            break;
    }
    return "ERROR";
}

const char* stopReasonName(ReadingEnd end) {
    return readingEndName(end);
}

FileEvaluation evaluateListFile(const std::string& argument, FileFactsWanted factsWanted) {
    FileEvaluation evaluation;
    evaluation.argument = argument;
    if (evaluation.isStandardInput()) {
        evaluation.opened = true;
        evaluation.stop = scanFrequencyLevelList(stdin, evaluation.points);
    } else {
        const std::optional<std::filesystem::path> path = pathOfArgument(argument);
        report::ListFileWithFacts read;
        if (!path) {
            read.reading.openError = ListFileError::UnconvertiblePath;
        } else if (factsWanted == FileFactsWanted::Yes) {
            read = report::readListFileWithFacts(*path);
            evaluation.facts = std::move(read.facts);
            evaluation.factsWithheld = !evaluation.facts;
        } else {
            read.reading = readListFile(*path);
        }
        ListFileReading& reading = read.reading;
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

}  // namespace ambersel::cli
