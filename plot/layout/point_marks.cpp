#include "plot/layout/point_marks.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace ambersel::plot {

bool heavier(double a, double b) {
    return std::isnan(a) ? !std::isnan(b) : a > b;
}

std::vector<AreaPoint> heaviestPerCell(std::span<const AreaPoint> points, std::size_t columns,
                                       std::size_t rows) {
    constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);
    std::vector<std::size_t> cells(columns * rows, kEmpty);
    std::vector<AreaPoint> kept;
    for (const AreaPoint& point : points) {
        const auto column = static_cast<std::size_t>(point.across * (columns - 1));
        const auto row = static_cast<std::size_t>(point.up * (rows - 1));
        std::size_t& cell = cells[row * columns + column];
        if (cell == kEmpty) {
            cell = kept.size();
            kept.push_back(point);
        } else if (heavier(point.weight, kept[cell].weight)) {
            kept[cell] = point;
        }
    }
    std::stable_sort(kept.begin(), kept.end(), [](const AreaPoint& a, const AreaPoint& b) {
        return heavier(b.weight, a.weight);
    });
    return kept;
}

std::vector<AreaPoint> outline(std::span<const AreaPoint> points, std::size_t columns) {
    struct Column {
        std::optional<AreaPoint> low;
        std::optional<AreaPoint> high;
    };
    std::vector<Column> grid(columns);
    for (const AreaPoint& point : points) {
        Column& column = grid[static_cast<std::size_t>(point.across * (columns - 1))];
        if (!column.low || point.up < column.low->up) {
            column.low = point;
        }
        if (!column.high || point.up > column.high->up) {
            column.high = point;
        }
    }
    std::vector<AreaPoint> line;
    for (const Column& column : grid) {
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
