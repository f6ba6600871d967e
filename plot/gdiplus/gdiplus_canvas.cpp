#include "plot/gdiplus/gdiplus_canvas.h"

#include <algorithm>
#include <cwchar>
#include <stdexcept>
#include <vector>

#include "plot/canvas/font_metrics.h"
#include "plot/canvas/mark_shapes.h"
#include "plot/gdiplus/shipped_fonts.h"
#include "text/byte_text.h"
#include "text/unicode_text.h"

namespace ambersel::plot {
namespace {

using Gdiplus::REAL;

Gdiplus::Color gdiplusColour(Colour colour) {
    return {colour.alpha, colour.red, colour.green, colour.blue};
}

Gdiplus::PointF gdiplusPoint(Point point) {
    return {static_cast<REAL>(point.x), static_cast<REAL>(point.y)};
}

Gdiplus::RectF gdiplusRect(const Rect& rect) {
    return {static_cast<REAL>(rect.left), static_cast<REAL>(rect.top),
            static_cast<REAL>(rect.width), static_cast<REAL>(rect.height)};
}

// Text as UTF-16; valid UTF-8 always converts.
std::wstring utf16Of(std::string_view utf8) {
    const std::u16string units = utf16FromGeneralizedUtf8(utf8).value_or(u"\uFFFD");
    return {units.begin(), units.end()};
}

// One mark about `centre`, shaped as every backend shapes it.
void addMark(Gdiplus::GraphicsPath& shape, MarkShape kind, Point centre, double radius) {
    if (kind == MarkShape::Circle) {
        shape.AddEllipse(gdiplusRect(Rect::centredOn(centre, {2 * radius, 2 * radius})));
        return;
    }
    std::vector<Gdiplus::PointF> corners;
    for (const Point corner : markCorners(kind, centre, radius)) {
        corners.push_back(gdiplusPoint(corner));
    }
    shape.AddPolygon(corners.data(), static_cast<INT>(corners.size()));
}

}  // namespace

GdiplusSession::GdiplusSession() {
    const Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) {
        throw std::runtime_error("GDI+ could not start");
    }
    m_fonts = std::make_unique<Gdiplus::PrivateFontCollection>();
    for (const bool bold : {false, true}) {
        const std::span<const std::byte> file = shippedFontFile(bold);
        if (m_fonts->AddMemoryFont(file.data(), static_cast<INT>(file.size())) != Gdiplus::Ok) {
            m_fonts.reset();
            Gdiplus::GdiplusShutdown(m_token);
            throw std::runtime_error("GDI+ refused the shipped fonts");
        }
    }
    m_family = std::make_unique<Gdiplus::FontFamily>();
    INT found = 0;
    m_fonts->GetFamilies(1, m_family.get(), &found);
    if (found != 1) {
        m_family.reset();
        m_fonts.reset();
        Gdiplus::GdiplusShutdown(m_token);
        throw std::runtime_error("GDI+ found no face in the shipped fonts");
    }
}

GdiplusSession::~GdiplusSession() {
    m_family.reset();
    m_fonts.reset();
    Gdiplus::GdiplusShutdown(m_token);
}

GdiplusCanvas::GdiplusCanvas(Gdiplus::Graphics& graphics, const GdiplusSession& session)
    : m_graphics(graphics), m_session(session) {
    m_graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    // Pixel centres at half units, as in SVG: a line on a whole unit covers two half pixels.
    // Shifted in device pixels rather than by PixelOffsetModeHalf, which Wine ignores.
    m_graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeNone);
    m_graphics.TranslateTransform(-0.5F, -0.5F, Gdiplus::MatrixOrderAppend);
    // Greyscale antialiasing: the picture must not depend on a screen's subpixel order.
    m_graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
}

void GdiplusCanvas::draw(const Gdiplus::GraphicsPath& shape, const Style& style) {
    if (style.fill) {
        const Gdiplus::SolidBrush brush(gdiplusColour(*style.fill));
        m_graphics.FillPath(&brush, &shape);
    }
    if (style.stroke) {
        Gdiplus::Pen pen(gdiplusColour(style.stroke->colour),
                         static_cast<REAL>(style.stroke->width));
        // As SVG draws lines: flat ends, mitred corners.
        pen.SetLineCap(Gdiplus::LineCapFlat, Gdiplus::LineCapFlat, Gdiplus::DashCapFlat);
        pen.SetLineJoin(Gdiplus::LineJoinMiter);
        m_graphics.DrawPath(&pen, &shape);
    }
}

void GdiplusCanvas::path(std::span<const Point> points, bool closed, const Style& style) {
    if (points.size() < 2) {
        return;
    }
    std::vector<Gdiplus::PointF> corners;
    corners.reserve(points.size());
    for (const Point point : points) {
        corners.push_back(gdiplusPoint(point));
    }
    Gdiplus::GraphicsPath shape;
    shape.AddLines(corners.data(), static_cast<INT>(corners.size()));
    if (closed) {
        shape.CloseFigure();
        draw(shape, style);
    } else {
        // An open line is never filled.
        draw(shape, {std::nullopt, style.stroke});
    }
}

void GdiplusCanvas::rectangle(const Rect& rect, double cornerRadius, const Style& style) {
    Gdiplus::GraphicsPath shape;
    const double r = std::min({cornerRadius, rect.width / 2, rect.height / 2});
    if (r <= 0) {
        shape.AddRectangle(gdiplusRect(rect));
    } else {
        const auto d = static_cast<REAL>(2 * r);
        const auto left = static_cast<REAL>(rect.left);
        const auto top = static_cast<REAL>(rect.top);
        const auto right = static_cast<REAL>(rect.right() - 2 * r);
        const auto bottom = static_cast<REAL>(rect.bottom() - 2 * r);
        shape.AddArc(left, top, d, d, 180, 90);
        shape.AddArc(right, top, d, d, 270, 90);
        shape.AddArc(right, bottom, d, d, 0, 90);
        shape.AddArc(left, bottom, d, d, 90, 90);
        shape.CloseFigure();
    }
    draw(shape, style);
}

void GdiplusCanvas::marks(std::span<const Point> centres, MarkShape shape, double radius,
                          const Style& style) {
    for (const Point centre : centres) {
        Gdiplus::GraphicsPath mark;
        addMark(mark, shape, centre, radius);
        draw(mark, style);
    }
}

void GdiplusCanvas::text(std::string_view utf8, Point anchor, TextAnchor alignment,
                         const Font& font, Colour colour, double degrees) {
    if (utf8.empty()) {
        return;
    }
    const std::string drawn = drawnText(utf8);
    const std::wstring wide = utf16Of(drawn);
    const Gdiplus::Font face(&m_session.family(), static_cast<REAL>(font.pixelSize),
                             font.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular,
                             Gdiplus::UnitPixel);
    // No padding before the first letter, so that the text starts where it is placed.
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    format.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsNoWrap);
    // Placed by the shipped metrics, as the layout measured it; GDI+ places the top of the line.
    const double width = textExtent(drawn, font).width;
    const double start = alignment == TextAnchor::Start    ? 0
                         : alignment == TextAnchor::Middle ? -width / 2
                                                           : -width;
    const double top = -lineMetrics(font).ascent;

    Gdiplus::Matrix saved;
    m_graphics.GetTransform(&saved);
    m_graphics.TranslateTransform(static_cast<REAL>(anchor.x), static_cast<REAL>(anchor.y));
    m_graphics.RotateTransform(static_cast<REAL>(degrees));
    const Gdiplus::SolidBrush brush(gdiplusColour(colour));
    m_graphics.DrawString(wide.c_str(), static_cast<INT>(wide.size()), &face,
                          Gdiplus::PointF(static_cast<REAL>(start), static_cast<REAL>(top)),
                          &format, &brush);
    m_graphics.SetTransform(&saved);
}

void GdiplusCanvas::clip(std::optional<Rect> rect) {
    if (rect) {
        m_graphics.SetClip(gdiplusRect(*rect));
    } else {
        m_graphics.ResetClip();
    }
}

std::unique_ptr<Gdiplus::Bitmap> whiteBitmap(int width, int height) {
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat24bppRGB);
    Gdiplus::Graphics graphics(bitmap.get());
    graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
    return bitmap;
}

std::string pngBytes(Gdiplus::Bitmap& bitmap) {
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0) {
        return {};
    }
    // Room for the records and the texts they point to, aligned as the records need.
    std::vector<Gdiplus::ImageCodecInfo> codecs(bytes / sizeof(Gdiplus::ImageCodecInfo) + 1);
    if (Gdiplus::GetImageEncoders(count, bytes, codecs.data()) != Gdiplus::Ok) {
        return {};
    }
    const auto png = std::find_if(codecs.begin(), codecs.begin() + count, [](const auto& codec) {
        return std::wcscmp(codec.MimeType, L"image/png") == 0;
    });
    if (png == codecs.begin() + count) {
        return {};
    }
    IStream* opened = nullptr;
    if (CreateStreamOnHGlobal(nullptr, TRUE, &opened) != S_OK) {
        return {};
    }
    const std::unique_ptr<IStream, decltype([](IStream* s) { s->Release(); })> stream(opened);
    if (bitmap.Save(stream.get(), &png->Clsid, nullptr) != Gdiplus::Ok) {
        return {};
    }
    STATSTG facts{};
    LARGE_INTEGER start{};
    if (stream->Stat(&facts, STATFLAG_NONAME) != S_OK ||
        stream->Seek(start, STREAM_SEEK_SET, nullptr) != S_OK) {
        return {};
    }
    std::string file(static_cast<std::size_t>(facts.cbSize.QuadPart), '\0');
    ULONG read = 0;
    if (stream->Read(file.data(), static_cast<ULONG>(file.size()), &read) != S_OK ||
        read != file.size()) {
        return {};
    }
    return file;
}

}  // namespace ambersel::plot
