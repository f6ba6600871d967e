#pragma once

// The content of a page: PDF drawing operators, written as text and compressed as they come, so
// that a long drawing never lies in memory uncompressed, with the fonts' glyphs and the opacities
// it uses noted for the document. Made on one thread, then moved to whoever writes the document.
//
// Coordinates are those of the current user space; a page sets one in points from its top-left
// corner, y growing downwards (plot/pdf/page.h), and text is drawn upright in it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plot/canvas/canvas.h"
#include "plot/canvas/font_metrics.h"
#include "plot/pdf/deflate.h"
#include "plot/pdf/resource_use.h"

namespace ambersel::plot::pdf {

// A content stream's compressed bytes and what it used.
struct FinishedContent {
    std::string compressed;  // Flate
    ResourceUse uses;
};

class ContentStream {
  public:
    ContentStream();

    // Graphics state: saved and restored in pairs, as "q" and "Q".
    void save();
    void restore();
    // Multiplies the current transformation by [a b c d e f].
    void transform(double a, double b, double c, double d, double e, double f);

    void fillColour(const Colour& fill);
    void strokeColour(const Colour& stroke);
    void lineWidth(double width);

    // Path construction; a path ends with paint().
    void moveTo(Point point);
    void lineTo(Point point);
    void curveTo(Point first, Point second, Point end);
    void closePath();
    void rectangle(const Rect& rect);
    // Fills (nonzero winding) and strokes the path as asked; neither: ends it unpainted.
    void paint(bool fill, bool stroke);
    // Intersects the clip with the path, and ends it.
    void clipToPath();

    // `utf8` as drawn (text/byte_text.h), in `face` at `size`, its baseline starting at
    // `start` and turned by `degrees` (clockwise, as y grows downwards), in the fill colour. Each
    // code point is drawn with its glyph and advances as the shipped metrics measure it. A code
    // point the face lacks is drawn as the face's replacement character (U+FFFD), an em wide, as
    // the metrics count it, and marked so that text taken from the page still gives the code point.
    void text(std::string_view utf8, Face face, double size, Point start, double degrees = 0);

    // Operators as they are, for what the calls above do not cover; they must leave the graphics
    // state as they found it.
    void operators(std::string_view text);

    // The compressed stream and what it used. Nothing may be drawn after.
    FinishedContent finish();

  private:
    // The state an operator last set, so that it is not written again.
    struct DrawingState {
        std::optional<Colour> fill = Colour{};
        std::optional<Colour> stroke = Colour{};
        std::optional<double> lineWidth = 1.0;
    };

    void append(std::string_view text);
    void appendNumber(double value, int decimals = 3);
    void appendPoint(Point point);
    void setColour(const Colour& colour, bool stroking);
    void glyphRun(const std::string& glyphs);

    Deflater m_deflater;
    std::string m_pending;
    std::string m_compressed;
    ResourceUse m_uses;
    DrawingState m_state;
    std::vector<DrawingState> m_saved;
};

// The cosine and sine of `degrees`, from the four arithmetic operations alone, which round alike
// everywhere, so that turned text has the same bytes on every platform (the C libraries' own
// std::sin may differ in the last bit). Quarter turns are exact.
struct Turn {
    double cosine = 1;
    double sine = 0;
};
Turn turnOf(double degrees);

// The graphics state resource name of an opacity ("/Fa80" fills at alpha 0x80, "/SaFF" strokes
// opaque).
std::string opacityResourceName(std::uint8_t alpha, bool stroking);

}  // namespace ambersel::plot::pdf
