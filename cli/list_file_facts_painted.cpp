// The build with Qt: the facts as the report for the record takes them.

#include "cli/list_file_facts.h"
#include "report/report_file.h"

namespace ambersel::cli {

std::optional<report::FileFacts> listFileFacts(const FileEvaluation& evaluation) {
    if (evaluation.status == FileStatus::Error || evaluation.isStandardInput()) {
        return std::nullopt;
    }
    return report::fileFactsOf(evaluation.argument);
}

}  // namespace ambersel::cli
