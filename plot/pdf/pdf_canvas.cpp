#include "plot/pdf/pdf_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "plot/canvas/font_metrics.h"
#include "plot/canvas/mark_shapes.h"
#include "plot/pdf/pdf_syntax.h"

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

void PdfCanvas::setStyle(const Style& style) {
    if (style.fill) {
        m_content.fillColour(*style.fill);
    }
    if (style.stroke) {
        m_content.strokeColour(style.stroke->colour);
        m_content.lineWidth(style.stroke->width);
    }
}

void PdfCanvas::paint(const Style& style) {
    setStyle(style);
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

void PdfCanvas::marks(std::span<const Point> centres, MarkShape shape, double radius,
                      const Style& style) {
    // As SVG: a mark of no size draws nothing, and a scale of 0 would make no space to draw in.
    if (centres.empty() || !(radius > 0) || !std::isfinite(radius)) {
        return;
    }
    setStyle(style);
    const std::string& outline = unitOutline(shape);
    // Each mark painted on its own, as SVG paints them: a later mark covers an earlier one. The
    // outline of radius 1 is scaled to the mark's, its line the less for it: a chart has
    // thousands of marks, and the same text compresses to little.
    for (const Point& centre : centres) {
        m_content.save();
        m_content.transform(radius, 0, 0, radius, centre.x, centre.y);
        if (style.stroke) {
            m_content.lineWidth(style.stroke->width / radius);
        }
        m_content.operators(outline);
        m_content.paint(style.fill.has_value(), style.stroke.has_value());
        m_content.restore();
    }
}

const std::string& PdfCanvas::unitOutline(MarkShape shape) {
    std::string& outline = m_outlines.at(static_cast<std::size_t>(shape));
    if (!outline.empty()) {
        return outline;
    }
    const auto to = [&outline](Point at, const char* operation) {
        appendNumber(outline, at.x, 5);
        outline += ' ';
        appendNumber(outline, at.y, 5);
        outline += operation;
    };
    if (shape == MarkShape::Circle) {
        const double k = kQuarterCircle;
        to({1, 0}, " m\n");
        for (const auto& [first, second, end] : {std::array<Point, 3>{{{1, k}, {k, 1}, {0, 1}}},
                                                 {{{-k, 1}, {-1, k}, {-1, 0}}},
                                                 {{{-1, -k}, {-k, -1}, {0, -1}}},
                                                 {{{k, -1}, {1, -k}, {1, 0}}}}) {
            to(first, " ");
            to(second, " ");
            to(end, " c\n");
        }
    } else {
        const char* operation = " m\n";
        for (const Point& corner : markCorners(shape, {0, 0}, 1)) {
            to(corner, operation);
            operation = " l\n";
        }
    }
    outline += "h\n";
    return outline;
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
