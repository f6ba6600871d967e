#pragma once

// The outline of each mark shape, in one place, so that every backend draws the same marks.

#include <vector>

#include "plot/canvas/geometry.h"

namespace ambersel::plot {

// The corners of a mark of `shape` about `centre`, `radius` out from it, to be joined into a
// closed path; none for a circle, which is drawn as one. Each shape covers about as much as the
// circle of `radius`, so that sizes compare across shapes.
std::vector<Point> markCorners(MarkShape shape, Point centre, double radius);

}  // namespace ambersel::plot
