#pragma once

// An evaluated list file as the plot library charts it.

#include "cli/file_evaluation.h"
#include "plot/layout/spectrum_chart.h"

namespace ambersel::cli {

// `evaluation`, a file with a verdict, named by its file name or "standard input". Refers to the
// evaluation's points, so the evaluation must outlive it.
plot::ChartedList chartedList(const FileEvaluation& evaluation);

}  // namespace ambersel::cli
