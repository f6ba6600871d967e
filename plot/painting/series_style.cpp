#include "plot/painting/series_style.h"

#include <QPolygonF>
#include <QRectF>

#include <algorithm>
#include <array>
#include <cmath>

namespace ambersel::plot {

QColor seriesColour(const SeriesStyle& style) {
    // Blue and vermilion first: the two lists of a before-and-after are the most unlike.
    static const std::array<QColor, kSeriesColours> kPalette = {
        QColor(0x00, 0x72, 0xb2), QColor(0xd5, 0x5e, 0x00), QColor(0x00, 0x9e, 0x73),
        QColor(0xcc, 0x79, 0xa7), QColor(0x56, 0xb4, 0xe9), QColor(0xe6, 0x9f, 0x00),
        QColor(0x00, 0x00, 0x00)};
    return kPalette[style.colour % kPalette.size()];
}

QColor towardsWhite(const QColor& colour, double strength) {
    const double t = std::clamp(strength, 0.0, 1.0);
    auto mix = [t](int channel) {
        return static_cast<int>(std::lround(255 + (channel - 255) * t));
    };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}

void drawMark(QPainter& painter, MarkShape shape, QPointF centre, double radius) {
    const double x = centre.x();
    const double y = centre.y();
    switch (shape) {
        case MarkShape::Circle:
            painter.drawEllipse(centre, radius, radius);
            return;
        case MarkShape::Square: {
            // As much area as the circle, so that sizes compare across shapes.
            const double half = radius * 0.886;
            painter.drawRect(QRectF(x - half, y - half, 2 * half, 2 * half));
            return;
        }
        case MarkShape::Triangle: {
            const double r = radius * 1.2;
            painter.drawPolygon(QPolygonF({QPointF(x, y - r), QPointF(x + r * 0.866, y + r / 2),
                                           QPointF(x - r * 0.866, y + r / 2)}));
            return;
        }
        case MarkShape::Diamond: {
            const double r = radius * 1.25;
            painter.drawPolygon(QPolygonF(
                {QPointF(x, y - r), QPointF(x + r, y), QPointF(x, y + r), QPointF(x - r, y)}));
            return;
        }
    }
}

}  // namespace ambersel::plot
