#include "plot/layout/label_placer.h"

#include <algorithm>

namespace ambersel::plot {

bool LabelPlacer::isFree(const Rect& box) const {
    return std::none_of(m_taken.begin(), m_taken.end(),
                        [&](const Rect& other) { return other.grown(3).overlaps(box); });
}

std::vector<Rect> LabelPlacer::candidates(Point at, Size size) const {
    std::vector<Rect> inside;
    for (const double distance : {14.0, 34.0, 58.0, 90.0, 130.0, 180.0}) {
        for (const Point direction :
             {Point{1, -1}, Point{-1, -1}, Point{1, 1}, Point{-1, 1}, Point{0, -1}, Point{0, 1}}) {
            const Rect box = Rect::centredOn({at.x + direction.x * (distance + size.width / 2),
                                              at.y + direction.y * (distance + size.height / 2)},
                                             size);
            if (m_bounds.contains(box)) {
                inside.push_back(box);
            }
        }
    }
    return inside;
}

std::optional<Rect> LabelPlacer::placeFree(Point at, Size size) {
    for (const Rect& box : candidates(at, size)) {
        if (isFree(box)) {
            m_taken.push_back(box);
            return box;
        }
    }
    return std::nullopt;
}

Rect LabelPlacer::place(Point at, Size size) {
    if (const std::optional<Rect> box = placeFree(at, size)) {
        return *box;
    }
    const std::vector<Rect> inside = candidates(at, size);
    const Rect fallback = inside.empty() ? Rect{at.x, at.y, size.width, size.height} : inside[0];
    m_taken.push_back(fallback);
    return fallback;
}

}  // namespace ambersel::plot
