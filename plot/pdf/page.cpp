#include "plot/pdf/page.h"

#include <algorithm>

#include "plot/pdf/pdf_canvas.h"

namespace ambersel::plot::pdf {

Page::Page(Size size) : m_size(size) {
    // PDF measures from the bottom-left corner upwards: the page turns that over once, and its
    // content stays within this saved state, so that a second content stream (a footer) starts
    // from the page's own.
    m_content.save();
    m_content.transform(1, 0, 0, -1, 0, size.height);
}

void Page::text(std::string_view utf8, Point anchor, Face face, double size, Colour colour,
                TextAnchor alignment) {
    const double offset = anchorOffset(alignment, textExtent(utf8, face, size).width);
    m_content.fillColour(colour);
    m_content.text(utf8, face, size, {anchor.x + offset, anchor.y});
}

void Page::rule(Point from, Point to, double width, Colour colour) {
    m_content.strokeColour(colour);
    m_content.lineWidth(width);
    m_content.moveTo(from);
    m_content.lineTo(to);
    m_content.paint(false, true);
}

void Page::cell(const Rect& rect, Colour fill) {
    m_content.fillColour(fill);
    m_content.rectangle(rect);
    m_content.paint(true, false);
}

Rect Page::picture(const Rect& where, Size pictureSize, const std::function<void(Canvas&)>& draw) {
    if (pictureSize.width <= 0 || pictureSize.height <= 0) {
        return {where.left, where.top, 0, 0};
    }
    const double scale =
        std::max(0.0, std::min(where.width / pictureSize.width, where.height / pictureSize.height));
    m_content.save();
    m_content.transform(scale, 0, 0, scale, where.left, where.top);
    m_content.rectangle({0, 0, pictureSize.width, pictureSize.height});
    m_content.clipToPath();
    {
        PdfCanvas canvas(m_content);
        draw(canvas);
    }
    m_content.restore();
    return {where.left, where.top, pictureSize.width * scale, pictureSize.height * scale};
}

FinishedContent Page::finish() {
    m_content.restore();
    return m_content.finish();
}

}  // namespace ambersel::plot::pdf
