#include "plot/pdf/pdf_canvas.h"

#include <algorithm>

#include "plot/canvas/font_metrics.h"
#include "plot/canvas/mark_shapes.h"

namespace ambersel::plot::pdf {
namespace {

// How far a cubic Bézier's control points lie along the tangents for a quarter circle.
constexpr double kQuarterCircle = 0.5522847498307936;

}  // namespace

double anchorOffset(TextAnchor alignment, double width) {
    switch (alignment) {
        case TextAnchor::Middle:
            return -width / 2;
        case TextAnchor::End:
            return -width;
        case TextAnchor::Start:
            break;
    }
    return 0;
}

PdfCanvas::PdfCanvas(ContentStream& content) : m_content(content) {
    m_content.save();
    m_content.operators("4 M\n");
}

PdfCanvas::~PdfCanvas() {
    if (m_clipped) {
        m_content.restore();
    }
    m_content.restore();
}

void PdfCanvas::paint(const Style& style) {
    if (style.fill) {
        m_content.fillColour(*style.fill);
    }
    if (style.stroke) {
        m_content.strokeColour(style.stroke->colour);
        m_content.lineWidth(style.stroke->width);
    }
    m_content.paint(style.fill.has_value(), style.stroke.has_value());
}

void PdfCanvas::path(std::span<const Point> points, bool closed, const Style& style) {
    if (points.empty()) {
        return;
    }
    m_content.moveTo(points.front());
    for (const Point& point : points.subspan(1)) {
        m_content.lineTo(point);
    }
    if (closed) {
        m_content.closePath();
    }
    paint(closed ? style : Style{std::nullopt, style.stroke});
}

void PdfCanvas::rectangle(const Rect& rect, double cornerRadius, const Style& style) {
    const double radius = std::min({cornerRadius, rect.width / 2, rect.height / 2});
    if (radius <= 0) {
        m_content.rectangle(rect);
        paint(style);
        return;
    }
    const double reach = radius * (1 - kQuarterCircle);
    const double left = rect.left;
    const double top = rect.top;
    const double right = rect.right();
    const double bottom = rect.bottom();
    m_content.moveTo({left + radius, top});
    m_content.lineTo({right - radius, top});
    m_content.curveTo({right - reach, top}, {right, top + reach}, {right, top + radius});
    m_content.lineTo({right, bottom - radius});
    m_content.curveTo({right, bottom - reach}, {right - reach, bottom}, {right - radius, bottom});
    m_content.lineTo({left + radius, bottom});
    m_content.curveTo({left + reach, bottom}, {left, bottom - reach}, {left, bottom - radius});
    m_content.lineTo({left, top + radius});
    m_content.curveTo({left, top + reach}, {left + reach, top}, {left + radius, top});
    m_content.closePath();
    paint(style);
}

void PdfCanvas::circle(Point centre, double radius) {
    const double reach = radius * kQuarterCircle;
    const double x = centre.x;
    const double y = centre.y;
    m_content.moveTo({x + radius, y});
    m_content.curveTo({x + radius, y + reach}, {x + reach, y + radius}, {x, y + radius});
    m_content.curveTo({x - reach, y + radius}, {x - radius, y + reach}, {x - radius, y});
    m_content.curveTo({x - radius, y - reach}, {x - reach, y - radius}, {x, y - radius});
    m_content.curveTo({x + reach, y - radius}, {x + radius, y - reach}, {x + radius, y});
    m_content.closePath();
}

void PdfCanvas::marks(std::span<const Point> centres, MarkShape shape, double radius,
                      const Style& style) {
    // Each mark painted on its own, as SVG paints them: a later mark covers an earlier one.
    for (const Point& centre : centres) {
        if (shape == MarkShape::Circle) {
            circle(centre, radius);
        } else {
            const std::vector<Point> corners = markCorners(shape, centre, radius);
            m_content.moveTo(corners.front());
            for (const Point& corner : std::span(corners).subspan(1)) {
                m_content.lineTo(corner);
            }
            m_content.closePath();
        }
        paint(style);
    }
}

void PdfCanvas::text(std::string_view utf8, Point anchor, TextAnchor alignment, const Font& font,
                     Colour colour, double degrees) {
    if (utf8.empty()) {
        return;
    }
    const double offset = anchorOffset(alignment, textExtent(utf8, font).width);
    const Turn turn = turnOf(degrees);
    m_content.fillColour(colour);
    m_content.text(utf8, faceOf(font), font.pixelSize,
                   {anchor.x + offset * turn.cosine, anchor.y + offset * turn.sine}, degrees);
}

void PdfCanvas::clip(std::optional<Rect> rect) {
    if (m_clipped) {
        m_content.restore();
        m_clipped = false;
    }
    if (rect) {
        m_content.save();
        m_content.rectangle(*rect);
        m_content.clipToPath();
        m_clipped = true;
    }
}

}  // namespace ambersel::plot::pdf
