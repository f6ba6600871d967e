#pragma once

// A canvas that writes an SVG document, byte for byte the same on every platform: numbers are
// written without the C library's locale, text is escaped and measured from the shipped metrics.
// One picture unit is one CSS pixel, so a picture has the same size wherever it is pasted. Numbers
// have at most three decimals, no exponent and no negative zero; what is not finite is 0.

#include <string>
#include <string_view>

#include "plot/canvas/canvas.h"

namespace ambersel::plot {

class SvgCanvas final : public Canvas {
  public:
    // A picture of `size`, its `title` and `description` written into it for readers and search.
    // Its ids (of clip paths) start with `idPrefix`, so that pictures written into one HTML
    // document keep theirs apart.
    SvgCanvas(Size size, std::string_view title, std::string_view description,
              std::string_view idPrefix = "");

    void path(std::span<const Point> points, bool closed, const Style& style) override;
    void rectangle(const Rect& rect, double cornerRadius, const Style& style) override;
    void marks(std::span<const Point> centres, MarkShape shape, double radius,
               const Style& style) override;
    void text(std::string_view utf8, Point anchor, TextAnchor alignment, const Font& font,
              Colour colour, double degrees = 0) override;
    void clip(std::optional<Rect> rect) override;

    // The whole document: what has been drawn so far, closed.
    std::string document() const;
    // The same without the XML declaration: the <svg> element, to be written into HTML.
    std::string element() const;

  private:
    std::string m_idPrefix;
    std::string m_header;
    std::string m_body;
    int m_clips = 0;
    bool m_clipped = false;
};

// `utf8` as drawn (plot/canvas/drawn_text.h), escaped for XML text and attribute values.
std::string xmlText(std::string_view utf8);

}  // namespace ambersel::plot
