#include "win32/framework/window_dpi.h"

#include <array>

namespace ambersel::win32 {
namespace {

// A function of user32 that older systems lack, or nothing there.
template <typename Function>
Function* user32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
    // A looked-up address has the type of no function: it goes through the generic function
    // pointer type, which converts to any without a warning.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(found));
}

// The device context of the screen, released when it goes.
using ScreenDc =
    std::unique_ptr<std::remove_pointer_t<HDC>, decltype([](HDC dc) { ReleaseDC(nullptr, dc); })>;

}  // namespace

UINT windowDpi(HWND window) {
    static auto* const dpiForWindow = user32Function<UINT WINAPI(HWND)>("GetDpiForWindow");
    if (dpiForWindow != nullptr) {
        if (const UINT dpi = dpiForWindow(window); dpi != 0) {
            return dpi;
        }
    }
    const ScreenDc screen(GetDC(nullptr));
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

void handleDpiChangesItself(HWND dialog) {
    // The behaviours are an enumeration of int's size; 1 is DDC_DISABLE_ALL.
    constexpr int kDisableAll = 1;
    static auto* const setBehaviour =
        user32Function<BOOL WINAPI(HWND, int, int)>("SetDialogDpiChangeBehavior");
    if (setBehaviour != nullptr) {
        setBehaviour(dialog, kDisableAll, kDisableAll);
    }
}

HFONT fontOf(HWND window) {
    // WM_GETFONT answers with the handle as an integer.
    auto* const font = reinterpret_cast<HFONT>(  // NOLINT(performance-no-int-to-ptr)
        SendMessageW(window, WM_GETFONT, 0, 0));
    return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

OwnedFont fontForDpi(HFONT font, UINT fromDpi, UINT toDpi) {
    LOGFONTW description{};
    if (GetObjectW(font, sizeof(description), &description) == 0) {
        return nullptr;
    }
    description.lfHeight =
        MulDiv(description.lfHeight, static_cast<int>(toDpi), static_cast<int>(fromDpi));
    description.lfWidth =
        MulDiv(description.lfWidth, static_cast<int>(toDpi), static_cast<int>(fromDpi));
    return OwnedFont(CreateFontIndirectW(&description));
}

FontMeasures measuresOf(HFONT font) {
    const ScreenDc screen(GetDC(nullptr));
    if (!screen) {
        return {};
    }
    const HGDIOBJ previous = SelectObject(screen.get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    constexpr std::array<wchar_t, 52> kLetters{
        L'A', L'B', L'C', L'D', L'E', L'F', L'G', L'H', L'I', L'J', L'K', L'L', L'M',
        L'N', L'O', L'P', L'Q', L'R', L'S', L'T', L'U', L'V', L'W', L'X', L'Y', L'Z',
        L'a', L'b', L'c', L'd', L'e', L'f', L'g', L'h', L'i', L'j', L'k', L'l', L'm',
        L'n', L'o', L'p', L'q', L'r', L's', L't', L'u', L'v', L'w', L'x', L'y', L'z'};
    SIZE letters{};
    GetTextExtentPoint32W(screen.get(), kLetters.data(), static_cast<int>(kLetters.size()),
                          &letters);
    SelectObject(screen.get(), previous);
    return {static_cast<int>(metrics.tmHeight - metrics.tmInternalLeading),
            static_cast<int>((letters.cx / 26 + 1) / 2), static_cast<int>(metrics.tmHeight)};
}

}  // namespace ambersel::win32
