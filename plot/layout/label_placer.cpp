#include "plot/layout/label_placer.h"

#include <algorithm>
#include <optional>

namespace ambersel::plot {

bool LabelPlacer::isFree(const Rect& box) const {
    return std::none_of(m_taken.begin(), m_taken.end(),
                        [&](const Rect& other) { return other.grown(3).overlaps(box); });
}

Rect LabelPlacer::place(Point at, Size size) {
    std::optional<Rect> first;
    for (const double distance : {14.0, 34.0, 58.0, 90.0, 130.0, 180.0}) {
        for (const Point direction :
             {Point{1, -1}, Point{-1, -1}, Point{1, 1}, Point{-1, 1}, Point{0, -1}, Point{0, 1}}) {
            const Rect box = Rect::centredOn({at.x + direction.x * (distance + size.width / 2),
                                              at.y + direction.y * (distance + size.height / 2)},
                                             size);
            if (!m_bounds.contains(box)) {
                continue;
            }
            if (!first) {
                first = box;
            }
            if (isFree(box)) {
                m_taken.push_back(box);
                return box;
            }
        }
    }
    const Rect fallback = first.value_or(Rect{at.x, at.y, size.width, size.height});
    m_taken.push_back(fallback);
    return fallback;
}

}  // namespace ambersel::plot
