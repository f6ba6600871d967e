#include "plot/canvas/mark_shapes.h"

namespace ambersel::plot {

std::vector<Point> markCorners(MarkShape shape, Point centre, double radius) {
    const double x = centre.x;
    const double y = centre.y;
    switch (shape) {
        case MarkShape::Circle:
            break;
        case MarkShape::Square: {
            const double half = radius * 0.886;
            return {{x - half, y - half},
                    {x + half, y - half},
                    {x + half, y + half},
                    {x - half, y + half}};
        }
        case MarkShape::Diamond: {
            const double r = radius * 1.25;
            return {{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}};
        }
        case MarkShape::TriangleUp:
        case MarkShape::TriangleDown: {
            const double r = radius * 1.2;
            const double tip = shape == MarkShape::TriangleUp ? -r : r;
            return {{x, y + tip}, {x + r * 0.866, y - tip / 2}, {x - r * 0.866, y - tip / 2}};
        }
    }
    return {};
}

}  // namespace ambersel::plot
