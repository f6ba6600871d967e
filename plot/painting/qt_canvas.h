#pragma once

// A canvas that paints with Qt's painter: the PNG pictures, and wherever a window shows a chart.
// Text is placed from the shipped font metrics, as in every other backend, and drawn in DejaVu
// Sans unhinted and without kerning, so that it is as wide as the layout measured it.

#include <QPainter>

#include "plot/canvas/canvas.h"

namespace ambersel::plot {

class QtCanvas final : public Canvas {
  public:
    // Paints with `painter`, which must outlive the canvas; turns its antialiasing on.
    explicit QtCanvas(QPainter& painter);

    void path(std::span<const Point> points, bool closed, const Style& style) override;
    void rectangle(const Rect& rect, double cornerRadius, const Style& style) override;
    void marks(std::span<const Point> centres, MarkShape shape, double radius,
               const Style& style) override;
    void text(std::string_view utf8, Point anchor, TextAnchor alignment, const Font& font,
              Colour colour, double degrees = 0) override;
    void clip(std::optional<Rect> rect) override;

  private:
    void useStyle(const Style& style);

    QPainter& m_painter;
};

}  // namespace ambersel::plot
