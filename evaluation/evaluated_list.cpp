#include "evaluation/evaluated_list.h"

#include <utility>

namespace ambersel {

const char* verdictName(ListStatus status) {
    switch (status) {
        case ListStatus::Pass:
            return "PASS";
        case ListStatus::Fail:
            return "FAIL";
        case ListStatus::Error:
            break;
    }
    return "ERROR";
}

const char* stopReasonName(ReadingEnd end) {
    switch (end) {
        case ReadingEnd::EndOfFile:
            return "end_of_file";
        case ReadingEnd::MalformedItem:
            return "malformed_item";
        case ReadingEnd::FileChanged:
            return "file_changed";
        case ReadingEnd::ReadError:
            break;
    }
    return "read_error";
}

EvaluatedList evaluatedList(std::string name, FrequencyLevelList points, ReadingStop stop,
                            const AnalysisScope& scope) {
    EvaluatedList list;
    list.name = std::move(name);
    list.opened = true;
    if (stop.end == ReadingEnd::ReadError || stop.end == ReadingEnd::FileChanged) {
        list.errorReason =
            stop.end == ReadingEnd::ReadError ? "read error" : "the file changed while it was read";
        list.analysis.points = std::move(points);
        list.analysis.stop = std::move(stop);
        return list;
    }
    list.analysis = analyseList(std::move(points), std::move(stop), scope);
    list.status = list.analysis.verdict.failed ? ListStatus::Fail : ListStatus::Pass;
    return list;
}

void refuseIncompleteList(EvaluatedList& list) {
    if (!list.deservesWarning()) {
        return;
    }
    list.errorReason = list.analysis.points.empty()
                           ? "the list holds no points"
                           : "reading stopped at line " + std::to_string(list.analysis.stop.line) +
                                 ", before the end of the file";
    list.status = ListStatus::Error;
}

}  // namespace ambersel
