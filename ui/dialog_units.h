#pragma once

// Dialog units: the font-relative measure in which the dialog's layout is given, and their
// conversion to pixels.
//
// A horizontal unit is a quarter of the dialog font's average character width, a vertical unit an
// eighth of its height. A coordinate or extent is converted on its own, by multiplying and then
// dividing with rounding, so the layout comes out to the pixel as on the desktops it was drawn for.

#include <QRect>
#include <QSize>

class QFont;

namespace ambersel::ui {

// A rectangle or a size in dialog units.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
struct DialogSize {
    int width = 0;
    int height = 0;
};

// Pixels per 4 horizontal and per 8 vertical dialog units.
struct DialogBaseUnits {
    int x = 0;  // the average character width
    int y = 0;  // the character height

    friend bool operator==(const DialogBaseUnits&, const DialogBaseUnits&) = default;
};

// number * numerator / denominator, computed without overflow and rounded to the nearest integer,
// halves away from zero. The denominator must not be zero.
int mulDiv(int number, int numerator, int denominator);

// The base units of a font whose 52 letters "A".."Z" "a".."z" are `alphabetWidth` pixels wide in
// all and whose lines are `height` pixels high: the average width is rounded to the nearest pixel.
DialogBaseUnits baseUnitsFromMetrics(int alphabetWidth, int height);

// The base units of `font` as it is drawn on screen.
DialogBaseUnits dialogBaseUnits(const QFont& font);

QRect toPixels(const DialogRect& rect, DialogBaseUnits units);
QSize toPixels(const DialogSize& size, DialogBaseUnits units);

}  // namespace ambersel::ui
