#pragma once

// Thinning a series for drawing. Points a few pixels apart look like one: each small cell of the
// plot area keeps only its heaviest point, and each pixel column of the outline only its lowest and
// highest one. A list of millions of points then draws as fast, and into as small a file, as one
// of thousands, and looks the same.

#include <cstddef>
#include <optional>
#include <vector>

namespace ambersel::plot {

// A point as a fraction of the plot area: `across` 0 at the left edge to 1 at the right, `up` 0 at
// the bottom to 1 at the top, both inclusive.
struct AreaPoint {
    double across = 0;
    double up = 0;
    double weight = 0;  // not a number: heavier than any number
    std::size_t index = 0;
};

// Whether `a` weighs more than `b`. A weight that is not a number weighs most, since its point
// alone decides the figure.
bool heavier(double a, double b);

// Thins one series as its points come, so that millions of points are never held twice.
//
// Marks: of the points in each cell of a grid of columns by rows cells over the area, the
// heaviest; of equally heavy ones, the first. Lightest first, so that heavy points are drawn on
// top; equally heavy ones in the order of their cells' first points.
//
// Outline: over a number of columns of the area, left to right: in each column that holds points,
// the highest and then the lowest (once when it is the same point), each the first of its height.
class SeriesThinning {
  public:
    // A grid of `cellColumns` by `cellRows` cells for the marks, `outlineColumns` for the outline.
    SeriesThinning(std::size_t cellColumns, std::size_t cellRows, std::size_t outlineColumns);

    // The next point of the series, in list order.
    void add(const AreaPoint& point);

    // Of the points added so far.
    std::vector<AreaPoint> marks() const;
    std::vector<AreaPoint> outline() const;

  private:
    struct Column {
        std::optional<AreaPoint> low;
        std::optional<AreaPoint> high;
    };
    static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);

    std::size_t m_cellColumns;
    std::size_t m_cellRows;
    std::vector<std::size_t> m_cells;  // each cell's place in m_kept, or kEmpty
    std::vector<AreaPoint> m_kept;     // the heaviest point of each cell met, in order met
    std::vector<Column> m_columns;
};

}  // namespace ambersel::plot
