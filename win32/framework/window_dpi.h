#pragma once

// A window on a screen of any resolution: its DPI, the fonts made for it, and the measures of a
// font that a layout in dialog units takes. The program declares itself aware of each monitor's
// DPI (per monitor, version 2) in its manifest; these calls work on systems older than that too,
// which then have one DPI for every window.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace ambersel::win32 {

// The DPI `window` is shown at: its monitor's where the system tells windows apart, else the
// system's.
UINT windowDpi(HWND window);

// Tells the dialog manager to leave `dialog` as it is when its DPI changes (it would scale the
// template's layout and font): the dialog lays itself out and makes its own font in
// WM_DPICHANGED. Does nothing on a system that scales no dialogs.
void handleDpiChangesItself(HWND dialog);

// The font `window` draws its text in (WM_GETFONT); the system's when it names none.
HFONT fontOf(HWND window);

// A font the program made, deleted when it goes.
struct FontDeletion {
    void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeletion>;

// `font` for another DPI: its height scaled from `fromDpi` to `toDpi`.
OwnedFont fontForDpi(HFONT font, UINT fromDpi, UINT toDpi);

// A font's measures in pixels, for a layout in dialog units, as the dialog manager takes them: a
// horizontal unit is a quarter of the average width of the Latin letters, a vertical one an
// eighth of the character height.
struct FontMeasures {
    int emPixels = 0;  // the em, the size the font is asked for by
    int averageWidth = 0;
    int height = 0;

    int x(int dialogUnits) const { return MulDiv(dialogUnits, averageWidth, 4); }
    int y(int dialogUnits) const { return MulDiv(dialogUnits, height, 8); }
};

FontMeasures measuresOf(HFONT font);

}  // namespace ambersel::win32
