#pragma once

// The chart of evaluated lists: each list's level over a logarithmic frequency axis, each point
// weighted by its share of the list's F, and the list's frequency bands with their share of F.
// One list has its verdict and margin in the title; several are drawn over one another, each with
// its verdict and margin in the legend.

#include <string>
#include <vector>

#include "evaluation/list_analysis.h"
#include "plot/layout/chart.h"

namespace ambersel::plot {

// An evaluated list, as a chart names and shows it.
struct ChartedList {
    std::string name;  // the list's file name, or what stands for it ("standard input")
    // The list's analysis, with every point's term and its bands; not copied: it must outlive the
    // call that takes it. Never null.
    const ListAnalysis* analysis = nullptr;
};

// "margin -0.99 dB", rounded to 0.01 dB; "no margin" where F has none (marginDb()).
std::string marginNote(std::optional<double> margin);

// The chart of one list. A point's weight is its share of F; when F is not a finite number above
// 0, its share of the sum of the finite terms instead. A point whose term is not finite has no
// weight (not a number). The bands are the analysis' own; points outside the edges make bands of
// their own.
Chart spectrumChart(const ChartedList& list);

// The lists drawn over one another, in the order given; with one list, its spectrumChart(). Every
// list's bands lie between the same edges: `bandEdges`, or the decades the lists span together
// (bandEdgesFor()).
Chart overlayChart(const std::vector<ChartedList>& lists, const std::vector<double>& bandEdges);

}  // namespace ambersel::plot
