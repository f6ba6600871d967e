#include "plot/layout/point_marks.h"

#include <algorithm>
#include <cmath>

namespace ambersel::plot {

bool heavier(double a, double b) {
    return std::isnan(a) ? !std::isnan(b) : a > b;
}

SeriesThinning::SeriesThinning(std::size_t cellColumns, std::size_t cellRows,
                               std::size_t outlineColumns)
    : m_cellColumns(cellColumns),
      m_cellRows(cellRows),
      m_cells(cellColumns * cellRows, kEmpty),
      m_columns(outlineColumns) {}

void SeriesThinning::add(const AreaPoint& point) {
    const auto cellColumn = static_cast<std::size_t>(point.across * (m_cellColumns - 1));
    const auto cellRow = static_cast<std::size_t>(point.up * (m_cellRows - 1));
    std::size_t& cell = m_cells[cellRow * m_cellColumns + cellColumn];
    if (cell == kEmpty) {
        cell = m_kept.size();
        m_kept.push_back(point);
    } else if (heavier(point.weight, m_kept[cell].weight)) {
        m_kept[cell] = point;
    }

    Column& column = m_columns[static_cast<std::size_t>(point.across * (m_columns.size() - 1))];
    if (!column.low || point.up < column.low->up) {
        column.low = point;
    }
    if (!column.high || point.up > column.high->up) {
        column.high = point;
    }
}

std::vector<AreaPoint> SeriesThinning::marks() const {
    std::vector<AreaPoint> kept = m_kept;
    std::stable_sort(kept.begin(), kept.end(), [](const AreaPoint& a, const AreaPoint& b) {
        return heavier(b.weight, a.weight);
    });
    return kept;
}

std::vector<AreaPoint> SeriesThinning::outline() const {
    std::vector<AreaPoint> line;
    for (const Column& column : m_columns) {
        if (column.high) {
            line.push_back(*column.high);
            if (column.low->index != column.high->index) {
                line.push_back(*column.low);
            }
        }
    }
    return line;
}

}  // namespace ambersel::plot
