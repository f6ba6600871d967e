#pragma once

// Thinning a series for drawing. Points a few pixels apart look like one: each small cell of the
// plot area keeps only its heaviest point, and each pixel column of the outline only its lowest and
// highest one. A list of millions of points then draws as fast, and into as small a file, as one
// of thousands, and looks the same.

#include <cstddef>
#include <span>
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

// Of the points in each cell of a grid of `columns` by `rows` cells over the area, the heaviest;
// of equally heavy ones, the first. Lightest first, so that heavy points are drawn on top; equally
// heavy ones in the order of their cells' first points.
std::vector<AreaPoint> heaviestPerCell(std::span<const AreaPoint> points, std::size_t columns,
                                       std::size_t rows);

// The outline of the points over `columns` columns of the area, left to right: in each column
// that holds points, the highest and then the lowest (once when it is the same point), each the
// first of its height.
std::vector<AreaPoint> outline(std::span<const AreaPoint> points, std::size_t columns);

}  // namespace ambersel::plot
