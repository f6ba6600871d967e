#pragma once

// What a chart is drawn on: a handful of calls (paths, rectangles, marks, text) that every output
// format carries out in its own backend (SVG text, a PNG through the platform's painter). Text is
// measured from the font metrics the program ships (plot/canvas/font_metrics.h), never by asking a
// backend, so a layout, and every SVG written from it, is the same on every platform.
//
// Units are picture units: pixels of the finished picture, y growing downwards, as in
// plot/layout/geometry.h. A canvas draws in call order, later calls over earlier ones.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "plot/canvas/geometry.h"

namespace ambersel::plot {

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;  // 255 opaque

    friend bool operator==(const Colour&, const Colour&) = default;
};

// The one face every picture uses (the shipped DejaVu Sans), at a size in pixels.
struct Font {
    double pixelSize = 13;
    bool bold = false;

    friend bool operator==(const Font&, const Font&) = default;
};

struct Stroke {
    Colour colour;
    double width = 1;
};

// How a path, rectangle or mark is drawn: filled, outlined, or both.
struct Style {
    std::optional<Colour> fill;
    std::optional<Stroke> stroke;
};

// Where a text's anchor lies on it, across; the anchor is always on the baseline.
enum class TextAnchor { Start, Middle, End };

class Canvas {
  public:
    Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    virtual ~Canvas() = default;

    // A line through `points`; `closed` joins the last to the first and lets `style.fill` fill it.
    virtual void path(std::span<const Point> points, bool closed, const Style& style) = 0;
    // A rectangle, its corners rounded by `cornerRadius` (0: square).
    virtual void rectangle(const Rect& rect, double cornerRadius, const Style& style) = 0;
    // One mark of `shape` about each of `centres`, reaching `radius` out from it: a circle, or the
    // corners plot/canvas/mark_shapes.h gives for the shape.
    virtual void marks(std::span<const Point> centres, MarkShape shape, double radius,
                       const Style& style) = 0;
    // `utf8` on a baseline through `anchor`, turned by `degrees` about it (positive: clockwise,
    // as y grows downwards; -90 reads upwards). Drawn as plot/canvas/drawn_text.h says, and as
    // wide as plot/canvas/font_metrics.h measures it; empty text draws nothing.
    virtual void text(std::string_view utf8, Point anchor, TextAnchor alignment, const Font& font,
                      Colour colour, double degrees = 0) = 0;
    // What follows is cut to `rect` until the next call; nothing: not cut.
    virtual void clip(std::optional<Rect> rect) = 0;
};

}  // namespace ambersel::plot
