#include "plot/painting/qt_canvas.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <cmath>

#include "plot/canvas/font_metrics.h"
#include "plot/canvas/mark_shapes.h"
#include "text/byte_text.h"

namespace ambersel::plot {
namespace {

QColor qtColour(const Colour& colour) {
    return QColor(colour.red, colour.green, colour.blue, colour.alpha);
}

QRectF qtRect(const Rect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

QPolygonF qtPolygon(std::span<const Point> points) {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& point : points) {
        polygon << QPointF(point.x, point.y);
    }
    return polygon;
}

QFont qtFont(const Font& font) {
    QFont qt(QStringLiteral("DejaVu Sans"));
    qt.setPixelSize(static_cast<int>(std::lround(font.pixelSize)));
    qt.setBold(font.bold);
    // Unhinted and unkerned, glyphs advance as the shipped metrics say. The face's ligatures are
    // as wide as their letters.
    qt.setKerning(false);
    qt.setHintingPreference(QFont::PreferNoHinting);
    return qt;
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter) : m_painter(painter) {
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
}

void QtCanvas::useStyle(const Style& style) {
    if (style.stroke) {
        QPen pen(qtColour(style.stroke->colour), style.stroke->width);
        // As SVG draws lines: flat ends, mitred corners.
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        m_painter.setPen(pen);
    } else {
        m_painter.setPen(Qt::NoPen);
    }
    m_painter.setBrush(style.fill ? QBrush(qtColour(*style.fill)) : QBrush(Qt::NoBrush));
}

void QtCanvas::path(std::span<const Point> points, bool closed, const Style& style) {
    useStyle(closed ? style : Style{std::nullopt, style.stroke});
    if (closed) {
        m_painter.drawPolygon(qtPolygon(points));
    } else {
        m_painter.drawPolyline(qtPolygon(points));
    }
}

void QtCanvas::rectangle(const Rect& rect, double cornerRadius, const Style& style) {
    useStyle(style);
    if (cornerRadius > 0) {
        m_painter.drawRoundedRect(qtRect(rect), cornerRadius, cornerRadius);
    } else {
        m_painter.drawRect(qtRect(rect));
    }
}

void QtCanvas::marks(std::span<const Point> centres, MarkShape shape, double radius,
                     const Style& style) {
    useStyle(style);
    for (const Point& centre : centres) {
        if (shape == MarkShape::Circle) {
            m_painter.drawEllipse(QPointF(centre.x, centre.y), radius, radius);
        } else {
            m_painter.drawPolygon(qtPolygon(markCorners(shape, centre, radius)));
        }
    }
}

void QtCanvas::text(std::string_view utf8, Point anchor, TextAnchor alignment, const Font& font,
                    Colour colour, double degrees) {
    if (utf8.empty()) {
        return;
    }
    const std::string drawn = drawnText(utf8);
    // Placed by the shipped metrics, as the layout measured it.
    const double width = textExtent(drawn, font).width;
    const double start = alignment == TextAnchor::Start    ? 0
                         : alignment == TextAnchor::Middle ? -width / 2
                                                           : -width;
    m_painter.save();
    m_painter.translate(anchor.x, anchor.y);
    m_painter.rotate(degrees);
    m_painter.setFont(qtFont(font));
    m_painter.setPen(qtColour(colour));
    m_painter.drawText(QPointF(start, 0),
                       QString::fromUtf8(drawn.data(), static_cast<qsizetype>(drawn.size())));
    m_painter.restore();
}

void QtCanvas::clip(std::optional<Rect> rect) {
    if (rect) {
        m_painter.setClipRect(qtRect(*rect));
    } else {
        m_painter.setClipping(false);
    }
}

}  // namespace ambersel::plot
