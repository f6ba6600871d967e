#pragma once

// Where the Details window's controls go, in pixels of its client area: the verdict line on top,
// the picture taking whatever room is left, the two tables side by side under it, each as large as
// its rows and columns need (or wider, when the window is), and the buttons at the bottom. Gaps
// and the heights of texts and buttons are in dialog units of the window's font, so the layout
// grows with the font and the screen's DPI.

#include <windows.h>

#include "win32/framework/window_dpi.h"

struct DetailsMeasures {
    ambersel::win32::FontMeasures font;
    SIZE bands{};            // the bands table, every row and column shown
    SIZE contributors{};     // the contributors table, alike
    SIZE smallestPicture{};  // the smallest picture that keeps its texts apart
};

struct DetailsPlaces {
    RECT line{};
    RECT picture{};
    RECT bandsCaption{};
    RECT bands{};
    RECT contributorsCaption{};
    RECT contributors{};
    RECT saveReport{};
    RECT close{};
};

// The places in a client area of `client`; one smaller than smallestDetailsClient() squeezes the
// picture first, then the tables.
DetailsPlaces placeDetails(SIZE client, const DetailsMeasures& measures);

// The smallest client area in which everything is shown whole.
SIZE smallestDetailsClient(const DetailsMeasures& measures);

// The client area the window opens with: the smallest, with a picture in about the proportions of
// a picture file.
SIZE preferredDetailsClient(const DetailsMeasures& measures);
