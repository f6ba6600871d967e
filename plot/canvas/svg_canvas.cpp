#include "plot/canvas/svg_canvas.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "plot/canvas/mark_shapes.h"
#include "text/byte_text.h"
#include "text/value_text.h"

namespace ambersel::plot {
namespace {

// Beyond this, a coordinate is far off any picture; to_chars would need no more room than this.
constexpr double kFarthest = 1e9;

void append(std::string& out, double value) {
    if (!std::isfinite(value)) {
        value = 0;
    }
    value = std::clamp(value, -kFarthest, kFarthest);
    std::array<char, 32> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                      std::chars_format::fixed, 3);
    std::string_view number(digits.data(), static_cast<std::size_t>(result.ptr - digits.data()));
    while (number.ends_with('0')) {
        number.remove_suffix(1);
    }
    if (number.ends_with('.')) {
        number.remove_suffix(1);
    }
    out += number == "-0" ? std::string_view("0") : number;
}

void appendAttribute(std::string& out, std::string_view name, double value) {
    out += ' ';
    out += name;
    out += "=\"";
    append(out, value);
    out += '"';
}

void appendColour(std::string& out, std::string_view name, const Colour& colour) {
    out += ' ';
    out += name;
    out += "=\"#";
    for (const std::uint8_t channel : {colour.red, colour.green, colour.blue}) {
        out += hexDigit(channel >> 4U);
        out += hexDigit(channel & 0xFU);
    }
    out += '"';
    if (colour.alpha != 255) {
        appendAttribute(out, std::string(name) + "-opacity", colour.alpha / 255.0);
    }
}

void appendStyle(std::string& out, const Style& style) {
    if (style.fill) {
        appendColour(out, "fill", *style.fill);
    } else {
        out += " fill=\"none\"";
    }
    if (style.stroke) {
        appendColour(out, "stroke", style.stroke->colour);
        appendAttribute(out, "stroke-width", style.stroke->width);
    }
}

void appendPathData(std::string& out, std::span<const Point> points, bool closed) {
    char command = 'M';
    for (const Point& point : points) {
        out += command;
        append(out, point.x);
        out += ' ';
        append(out, point.y);
        command = 'L';
    }
    if (closed) {
        out += 'Z';
    }
}

void appendRectangle(std::string& out, const Rect& rect) {
    out += "<rect";
    appendAttribute(out, "x", rect.left);
    appendAttribute(out, "y", rect.top);
    appendAttribute(out, "width", std::max(rect.width, 0.0));
    appendAttribute(out, "height", std::max(rect.height, 0.0));
}

}  // namespace

std::string xmlText(std::string_view utf8) {
    return markupText(drawnText(utf8));
}

SvgCanvas::SvgCanvas(Size size, std::string_view title, std::string_view description,
                     std::string_view idPrefix)
    : m_idPrefix(xmlText(idPrefix)), m_header("<svg xmlns=\"http://www.w3.org/2000/svg\"") {
    appendAttribute(m_header, "width", size.width);
    appendAttribute(m_header, "height", size.height);
    m_header += " viewBox=\"0 0 ";
    append(m_header, size.width);
    m_header += ' ';
    append(m_header, size.height);
    // Text as measured: the shipped face, no kerning, no ligatures, spaces kept.
    m_header +=
        "\" font-family=\"'DejaVu Sans', sans-serif\" xml:space=\"preserve\" "
        "style=\"font-kerning:none;font-variant-ligatures:none;white-space:pre\">\n<title>";
    m_header += xmlText(title);
    m_header += "</title>\n<desc>";
    m_header += xmlText(description);
    m_header += "</desc>\n";
}

void SvgCanvas::path(std::span<const Point> points, bool closed, const Style& style) {
    if (points.empty()) {
        return;
    }
    m_body += "<path d=\"";
    appendPathData(m_body, points, closed);
    m_body += '"';
    appendStyle(m_body, closed ? style : Style{std::nullopt, style.stroke});
    m_body += "/>\n";
}

void SvgCanvas::rectangle(const Rect& rect, double cornerRadius, const Style& style) {
    appendRectangle(m_body, rect);
    if (cornerRadius > 0) {
        appendAttribute(m_body, "rx", cornerRadius);
    }
    appendStyle(m_body, style);
    m_body += "/>\n";
}

void SvgCanvas::marks(std::span<const Point> centres, MarkShape shape, double radius,
                      const Style& style) {
    if (centres.empty()) {
        return;
    }
    m_body += "<g";
    appendStyle(m_body, style);
    m_body += ">\n";
    for (const Point& centre : centres) {
        if (shape == MarkShape::Circle) {
            m_body += "<circle";
            appendAttribute(m_body, "cx", centre.x);
            appendAttribute(m_body, "cy", centre.y);
            appendAttribute(m_body, "r", radius);
        } else {
            m_body += "<path d=\"";
            appendPathData(m_body, markCorners(shape, centre, radius), true);
            m_body += '"';
        }
        m_body += "/>\n";
    }
    m_body += "</g>\n";
}

void SvgCanvas::text(std::string_view utf8, Point anchor, TextAnchor alignment, const Font& font,
                     Colour colour, double degrees) {
    if (utf8.empty()) {
        return;
    }
    m_body += "<text";
    appendAttribute(m_body, "x", anchor.x);
    appendAttribute(m_body, "y", anchor.y);
    appendAttribute(m_body, "font-size", font.pixelSize);
    if (font.bold) {
        m_body += " font-weight=\"bold\"";
    }
    if (alignment != TextAnchor::Start) {
        m_body +=
            alignment == TextAnchor::Middle ? " text-anchor=\"middle\"" : " text-anchor=\"end\"";
    }
    appendColour(m_body, "fill", colour);
    if (degrees != 0) {
        m_body += " transform=\"rotate(";
        append(m_body, degrees);
        m_body += ' ';
        append(m_body, anchor.x);
        m_body += ' ';
        append(m_body, anchor.y);
        m_body += ")\"";
    }
    m_body += '>';
    m_body += xmlText(utf8);
    m_body += "</text>\n";
}

void SvgCanvas::clip(std::optional<Rect> rect) {
    if (m_clipped) {
        m_body += "</g>\n";
        m_clipped = false;
    }
    if (!rect) {
        return;
    }
    const std::string id = m_idPrefix + "clip" + std::to_string(++m_clips);
    m_body += "<clipPath id=\"" + id + "\">";
    appendRectangle(m_body, *rect);
    m_body += "/></clipPath>\n<g clip-path=\"url(#" + id + ")\">\n";
    m_clipped = true;
}

std::string SvgCanvas::document() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + element();
}

std::string SvgCanvas::element() const {
    return m_header + m_body + (m_clipped ? "</g>\n</svg>\n" : "</svg>\n");
}

}  // namespace ambersel::plot
