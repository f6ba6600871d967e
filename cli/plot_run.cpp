#include "cli/plot_run.h"

#include <utility>

#include "cli/charted_list.h"

namespace ambersel::cli {

PlotRun::PlotRun(const PlotDrawing& drawing, std::string pattern, std::vector<double> bandEdges,
                 std::size_t fileCount)
    : m_drawing(drawing),
      m_pattern(std::move(pattern)),
      m_bandEdges(std::move(bandEdges)),
      m_onePicture(drawsOnePicture(m_pattern, fileCount)) {}

std::optional<PlotFailure> PlotRun::add(const FileEvaluation& evaluation) {
    if (evaluation.status == FileStatus::Error) {
        return std::nullopt;
    }
    if (m_onePicture) {
        m_kept.push_back(evaluation);
        return std::nullopt;
    }
    return draw(plot::spectrumChart(chartedList(evaluation), m_bandEdges), evaluation.argument);
}

std::optional<PlotFailure> PlotRun::finish() {
    if (m_kept.empty()) {
        return std::nullopt;
    }
    std::vector<plot::ChartedList> lists;
    lists.reserve(m_kept.size());
    for (const FileEvaluation& evaluation : m_kept) {
        lists.push_back(chartedList(evaluation));
    }
    std::optional<PlotFailure> failed =
        draw(plot::overlayChart(lists, m_bandEdges), m_kept.front().argument);
    m_kept.clear();
    return failed;
}

std::optional<PlotFailure> PlotRun::draw(const plot::Chart& chart,
                                         const std::string& argument) const {
    const std::filesystem::path target = plotTargetFor(m_pattern, argument);
    if (std::optional<std::string> why = m_drawing.draw(chart, target, *plotFormatOf(target))) {
        return PlotFailure{target, std::move(*why)};
    }
    return std::nullopt;
}

}  // namespace ambersel::cli
