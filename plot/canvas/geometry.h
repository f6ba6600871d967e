#pragma once

// Points, sizes and rectangles in picture units: pixels, y growing downwards. Rectangles follow
// the edge rules of the painting toolkit, so that what the layout decides about overlaps holds
// for what gets painted.

namespace ambersel::plot {

struct Point {
    double x = 0;
    double y = 0;
};

struct Size {
    double width = 0;
    double height = 0;
};

// How large a line of text comes out: its advance along the baseline, and the height of its line.
struct TextExtent {
    double width = 0;
    double height = 0;
};

// The shapes a point's mark takes, each about the point's centre.
enum class MarkShape { Circle, Square, Diamond, TriangleUp, TriangleDown };

// A rectangle of positive size from its top-left corner.
struct Rect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    static Rect fromCorners(Point topLeft, Point bottomRight) {
        return {topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y};
    }
    static Rect centredOn(Point centre, Size size) {
        return {centre.x - size.width / 2, centre.y - size.height / 2, size.width, size.height};
    }

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    Point centre() const { return {left + width / 2, top + height / 2}; }
    bool empty() const { return left == right() || top == bottom(); }

    // Grown by `margin` on every side; shrunk when it is negative.
    Rect grown(double margin) const {
        return {left - margin, top - margin, width + margin + margin, height + margin + margin};
    }
    // Whether `other` lies wholly inside this one; touching the edges counts as inside.
    bool contains(const Rect& other) const {
        return !empty() && !other.empty() && other.left >= left && other.right() <= right() &&
               other.top >= top && other.bottom() <= bottom();
    }
    // Whether the two share more than an edge.
    bool overlaps(const Rect& other) const {
        return !empty() && !other.empty() && left < other.right() && other.left < right() &&
               top < other.bottom() && other.top < bottom();
    }
};

}  // namespace ambersel::plot
