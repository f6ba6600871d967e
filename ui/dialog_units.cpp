#include "ui/dialog_units.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace ambersel::ui {
namespace {

int horizontal(int units, DialogBaseUnits base) {
    return mulDiv(units, base.x, 4);
}
int vertical(int units, DialogBaseUnits base) {
    return mulDiv(units, base.y, 8);
}

}  // namespace

int mulDiv(int number, int numerator, int denominator) {
    const std::int64_t product = std::int64_t{number} * numerator;
    const std::int64_t magnitude =
        (std::llabs(product) + std::llabs(std::int64_t{denominator}) / 2) /
        std::llabs(std::int64_t{denominator});
    const bool negative = (product < 0) != (denominator < 0);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

DialogBaseUnits baseUnitsFromMetrics(int alphabetWidth, int height) {
    return {mulDiv(alphabetWidth, 1, 52), height};
}

DialogBaseUnits dialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return baseUnitsFromMetrics(alphabetWidth, metrics.height());
}

QRect toPixels(const DialogRect& rect, DialogBaseUnits units) {
    return {horizontal(rect.x, units), vertical(rect.y, units), horizontal(rect.width, units),
            vertical(rect.height, units)};
}

QSize toPixels(const DialogSize& size, DialogBaseUnits units) {
    return {horizontal(size.width, units), vertical(size.height, units)};
}

}  // namespace ambersel::ui
