#include "cli/charted_list.h"

#include <filesystem>

namespace ambersel::cli {

plot::ChartedList chartedList(const FileEvaluation& evaluation) {
    return {evaluation.isStandardInput()
                ? std::string("standard input")
                : std::filesystem::path(evaluation.argument).filename().string(),
            &evaluation.points, evaluation.stop, evaluation.verdict};
}

}  // namespace ambersel::cli
