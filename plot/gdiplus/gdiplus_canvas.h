#pragma once

// Charts drawn with GDI+, the drawing library every Windows has: the canvas backend for PNG
// pictures and for the picture in the dialog's Details window.

#include <windows.h>
// After windows.h, on which it builds.
#include <objidl.h>
// After objidl.h, whose IStream and PROPID it takes.
#include <gdiplus.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "plot/canvas/canvas.h"

namespace ambersel::plot {

// GDI+ started for as long as it lives, with the shipped faces loaded privately (nothing is
// installed on the system). Every GDI+ object must go before the session that it was made in.
// Sessions may nest. Throws std::runtime_error when GDI+ cannot start or refuses the faces.
class GdiplusSession {
  public:
    GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    ~GdiplusSession();

    // The shipped face; bold or regular is chosen by the font's style.
    const Gdiplus::FontFamily& family() const { return *m_family; }

  private:
    ULONG_PTR m_token = 0;
    std::unique_ptr<Gdiplus::PrivateFontCollection> m_fonts;
    std::unique_ptr<Gdiplus::FontFamily> m_family;
};

// Draws on `graphics` (a bitmap's, or a window's) antialiased, in picture units that the
// graphics' transform maps to its pixels, pixel centres at half units. Sets the graphics' quality
// modes and shifts its transform by half a pixel.
class GdiplusCanvas final : public Canvas {
  public:
    GdiplusCanvas(Gdiplus::Graphics& graphics, const GdiplusSession& session);

    void path(std::span<const Point> points, bool closed, const Style& style) override;
    void rectangle(const Rect& rect, double cornerRadius, const Style& style) override;
    void marks(std::span<const Point> centres, MarkShape shape, double radius,
               const Style& style) override;
    void text(std::string_view utf8, Point anchor, TextAnchor alignment, const Font& font,
              Colour colour, double degrees = 0) override;
    void clip(std::optional<Rect> rect) override;

  private:
    void draw(const Gdiplus::GraphicsPath& shape, const Style& style);

    Gdiplus::Graphics& m_graphics;
    const GdiplusSession& m_session;
};

// A white bitmap of `width` by `height` pixels, 32 bits per pixel.
std::unique_ptr<Gdiplus::Bitmap> whiteBitmap(int width, int height);

// `bitmap` encoded as a PNG file; empty when GDI+ has no PNG encoder or fails.
std::string pngBytes(Gdiplus::Bitmap& bitmap);

}  // namespace ambersel::plot
