#pragma once

// Places labels beside the points they name, each clear of everything placed or reserved before it.

#include <optional>
#include <vector>

#include "plot/canvas/geometry.h"

namespace ambersel::plot {

class LabelPlacer {
  public:
    // Labels must lie wholly inside `bounds`.
    explicit LabelPlacer(const Rect& bounds) : m_bounds(bounds) {}

    // Keeps labels off `area`, a point that must stay visible, say.
    void reserve(const Rect& area) { m_taken.push_back(area); }

    // Places a label of `size` for the point at `at` and reserves its place: the nearest of a few
    // places around the point, in a set order of distances and directions, that lies inside the
    // bounds and keeps 3 units clear of everything reserved. Where none does, the first place
    // inside the bounds, and where none is inside, the label's top-left corner at the point.
    Rect place(Point at, Size size);

    // The same nearest free place, or nothing, and nothing reserved, where none is free.
    std::optional<Rect> placeFree(Point at, Size size);

  private:
    bool isFree(const Rect& box) const;
    // The places around the point that lie inside the bounds, in the order they are tried.
    std::vector<Rect> candidates(Point at, Size size) const;

    Rect m_bounds;
    std::vector<Rect> m_taken;
};

}  // namespace ambersel::plot
