#pragma once

// A page of a PDF document as its maker lays it out: text runs in the shipped faces (measured by
// plot/canvas/font_metrics.h, the same measure a layout uses), rules, filled cells, and pictures
// drawn through a canvas into a rectangle. Lengths are points (1/72 inch), from the page's top-left
// corner, y growing downwards.
//
// A page is made on one thread, by the job that made what it shows, and then moved to the
// document (plot/pdf/document.h), which writes it. Its content is compressed as it is drawn.

#include <functional>
#include <string_view>

#include "plot/canvas/canvas.h"
#include "plot/canvas/font_metrics.h"
#include "plot/pdf/content_stream.h"

namespace ambersel::plot::pdf {

// ISO A4, 210 by 297 mm, in points.
inline constexpr Size kA4{595.2755905511812, 841.8897637795276};

class Page {
  public:
    explicit Page(Size size = kA4);

    Size size() const { return m_size; }

    // `utf8` in `face` at `size` points, its baseline through `anchor`, placed about it as
    // `alignment` says, in `colour`. As wide as textExtent(utf8, face, size) measures it.
    void text(std::string_view utf8, Point anchor, Face face, double size, Colour colour = {},
              TextAnchor alignment = TextAnchor::Start);
    // A straight line `width` points thick, its ends flat.
    void rule(Point from, Point to, double width, Colour colour = {});
    // A rectangle filled with `fill`.
    void cell(const Rect& rect, Colour fill);
    // A picture `pictureSize` picture units large, drawn by `draw` on a canvas: scaled alike
    // across and down to fit `where` as large as it can, at its top-left corner, and cut to its
    // own bounds. Returns where it lies on the page.
    Rect picture(const Rect& where, Size pictureSize, const std::function<void(Canvas&)>& draw);

    // The page's content and what it used. Nothing may be drawn after.
    FinishedContent finish();

  private:
    Size m_size;
    ContentStream m_content;
};

}  // namespace ambersel::plot::pdf
