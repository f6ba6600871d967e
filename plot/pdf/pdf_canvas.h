#pragma once

// A canvas that draws into a PDF content stream, as vector paths and text in the shipped faces:
// the same layout as every other backend (text placed by the shipped metrics), lines drawn as SVG
// draws them (flat ends, mitred corners, miter limit 4), later calls over earlier ones.
//
// It draws in the content's current user space, one picture unit to one unit; whoever makes it
// sets the transformation that puts the picture where it belongs (plot/pdf/page.h).

#include <array>
#include <string>

#include "plot/canvas/canvas.h"
#include "plot/pdf/content_stream.h"

namespace ambersel::plot::pdf {

class PdfCanvas final : public Canvas {
  public:
    // Draws on `content`, which must outlive it; the graphics state is saved now and restored
    // when the canvas goes, so that what it sets ends with it.
    explicit PdfCanvas(ContentStream& content);
    ~PdfCanvas() override;

    void path(std::span<const Point> points, bool closed, const Style& style) override;
    void rectangle(const Rect& rect, double cornerRadius, const Style& style) override;
    void marks(std::span<const Point> centres, MarkShape shape, double radius,
               const Style& style) override;
    void text(std::string_view utf8, Point anchor, TextAnchor alignment, const Font& font,
              Colour colour, double degrees = 0) override;
    void clip(std::optional<Rect> rect) override;

  private:
    // Sets the colours and width of `style`; and paints the path made with them.
    void setStyle(const Style& style);
    void paint(const Style& style);

    // The path of a mark of `shape` of radius 1 about the origin, made once.
    const std::string& unitOutline(MarkShape shape);

    ContentStream& m_content;
    bool m_clipped = false;
    std::array<std::string, 5> m_outlines;  // by MarkShape
};

// How far along the baseline a text `width` long starts from its anchor.
double anchorOffset(TextAnchor alignment, double width);

}  // namespace ambersel::plot::pdf
