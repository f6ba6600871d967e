#pragma once

// What the parts of a chart's painting share: the conversions into Qt's types and the colours of
// the fixed parts.

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <string>

#include "plot/layout/geometry.h"

namespace ambersel::plot {

inline const QColor kInk(0x21, 0x21, 0x21);
inline const QColor kMutedInk(0x61, 0x61, 0x61);
inline const QColor kPassColour(0x2e, 0x7d, 0x32);
inline const QColor kFailColour(0xc6, 0x28, 0x28);
inline const QColor kFrameColour(0x75, 0x75, 0x75);
inline const QColor kOutlineColour(0x9e, 0x9e, 0x9e);
inline const QColor kUndefinedColour(0x6a, 0x1b, 0x9a);  // a point whose term is not finite

inline QString qtText(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline QPointF qtPoint(Point point) {
    return {point.x, point.y};
}

inline QRectF qtRect(const Rect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

}  // namespace ambersel::plot
