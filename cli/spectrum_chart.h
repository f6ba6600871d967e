#pragma once

// The chart of one list's spectrum for a test report: the level over a logarithmic frequency axis,
// each point weighted by its share of F, the verdict and F in the title, and a note of what
// reading left out.

#include "cli/file_evaluation.h"
#include "plot/layout/chart.h"

namespace ambersel::cli {

// The chart of `evaluation`, a file with a verdict. A point's weight is its share of F; when F is
// not a finite number above 0, its share of the sum of the finite terms instead. A point whose
// term is not finite has no weight (not a number).
plot::Chart spectrumChart(const FileEvaluation& evaluation);

}  // namespace ambersel::cli
