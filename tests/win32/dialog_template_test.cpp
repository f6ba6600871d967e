// The main dialog's template and icon as the resource compiler built them into the program: the
// dialog manager lays the dialog out from exactly these bytes.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "win32/ui/resource.h"

namespace ambersel::testing {
namespace {

using Fields = std::vector<std::int64_t>;

// Reads the fields of the program's German resource `id` in order, each at its natural alignment.
class ResourceReader {
  public:
    ResourceReader(LPCWSTR type, int id) {
        const HMODULE module = GetModuleHandleW(nullptr);
        const HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(id),
                                            MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
        if (found == nullptr) {
            throw std::runtime_error("no German resource " + std::to_string(id));
        }
        m_bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
        m_size = SizeofResource(module, found);
    }

    template <typename T>
    T read() {
        T value{};
        if (m_offset + sizeof(T) > m_size) {
            throw std::runtime_error("the resource ends early");
        }
        std::memcpy(&value, m_bytes + m_offset, sizeof(T));
        m_offset += sizeof(T);
        return value;
    }
    // The next fields, of these types, in order.
    template <typename... T>
    Fields fields() {
        return {static_cast<std::int64_t>(read<T>())...};
    }
    // A name or number field: an ordinal comes back as "#number", nothing as "".
    std::wstring nameOrOrdinal() {
        const auto first = read<WORD>();
        if (first == 0xFFFF) {
            return L"#" + std::to_wstring(read<WORD>());
        }
        std::wstring text;
        for (WORD unit = first; unit != 0; unit = read<WORD>()) {
            text.push_back(static_cast<wchar_t>(unit));
        }
        return text;
    }
    void alignTo(std::size_t bytes) { m_offset = (m_offset + bytes - 1) / bytes * bytes; }
    void skip(std::size_t bytes) { m_offset += bytes; }

  private:
    const std::uint8_t* m_bytes = nullptr;
    DWORD m_size = 0;
    std::size_t m_offset = 0;
};

INT_PTR CALLBACK keepDefaults(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// A window of the dialog, made by the dialog manager from the program's template, destroyed when
// it goes.
struct TemplateDialog {
    HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_DIALOG),
                                     nullptr, &keepDefaults, 0);
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;
    TemplateDialog() = default;
    ~TemplateDialog() { DestroyWindow(window); }
};

std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// What the operator meets, as the dialog manager lays it out: each control where the layout puts
// it in dialog units of the dialog's font, saying what it says; Enter on Calculate, the focus
// first on Calculate and then round in the layout's order; a path field that takes no typing; a
// frame that neither resizes nor closes by a button of its own.
TEST(DialogTemplate, LaysTheDialogOutAsTheOperatorMeetsIt) {
    const TemplateDialog dialog;
    ASSERT_NE(dialog.window, nullptr);
    EXPECT_EQ(textOf(dialog.window), L"Ambersel Test Calculator (R&S file format)");
    const struct {
        int id;
        RECT place;  // left, top, right, bottom in dialog units
        const wchar_t* text;
    } controls[] = {
        {IDOK, {263, 48, 313, 64}, L"Calculate"}, {IDCANCEL, {7, 48, 57, 64}, L"Cancel"},
        {IDC_RESULT, {7, 33, 313, 41}, L""},      {IDC_BROWSE, {9, 9, 59, 23}, L"File"},
        {IDC_FILEPATH, {64, 9, 313, 23}, L""},
    };
    HWND focus = GetNextDlgTabItem(dialog.window, nullptr, FALSE);
    for (const auto& control : controls) {
        SCOPED_TRACE(control.id);
        const HWND shown = GetDlgItem(dialog.window, control.id);
        ASSERT_NE(shown, nullptr);
        // The dialog manager rounds a control's width and height, not its right and bottom edges,
        // to the pixel: a pixel either way.
        RECT expected = control.place;
        MapDialogRect(dialog.window, &expected);
        RECT actual{};
        GetWindowRect(shown, &actual);
        MapWindowPoints(nullptr, dialog.window, reinterpret_cast<POINT*>(&actual), 2);
        const LONG expectedEdges[] = {expected.left, expected.top, expected.right, expected.bottom};
        const LONG actualEdges[] = {actual.left, actual.top, actual.right, actual.bottom};
        for (std::size_t edge = 0; edge < 4; ++edge) {
            EXPECT_NEAR(actualEdges[edge], expectedEdges[edge], 1) << "edge " << edge;
        }
        EXPECT_EQ(textOf(shown), control.text);
        if (control.id != IDC_RESULT) {
            EXPECT_EQ(focus, shown) << "out of tab order";
            focus = GetNextDlgTabItem(dialog.window, focus, FALSE);
        }
    }
    EXPECT_EQ(LOWORD(SendMessageW(dialog.window, DM_GETDEFID, 0, 0)), IDOK);
    const auto style = [&](int id) {
        return GetWindowLongW(GetDlgItem(dialog.window, id), GWL_STYLE);
    };
    EXPECT_NE(style(IDC_FILEPATH) & ES_READONLY, 0) << "the path field takes typing";
    EXPECT_EQ(style(IDC_RESULT) & SS_TYPEMASK, SS_CENTER) << "the result line is not centred";
    const LONG frame = GetWindowLongW(dialog.window, GWL_STYLE);
    EXPECT_EQ(frame & (WS_SYSMENU | WS_THICKFRAME), 0) << "a close button or a resizable frame";
}

TEST(DialogTemplate, IconIsOne32By32ImageOf24BitsPerPixel) {
    ResourceReader group(RT_GROUP_ICON, IDR_MAINFRAME);
    // Reserved, an icon, one image of 32 by 32; after colour count, reserved and planes, the bits
    // per pixel.
    EXPECT_EQ((group.fields<WORD, WORD, WORD, BYTE, BYTE>()), (Fields{0, 1, 1, 32, 32}));
    group.skip(4);
    EXPECT_EQ(group.read<WORD>(), 24);
    group.skip(4);  // size
    ResourceReader image(RT_ICON, group.read<WORD>());
    // A bitmap, not a PNG: its header's size, width, height of colour and mask, planes, bits.
    EXPECT_EQ((image.fields<DWORD, LONG, LONG, WORD, WORD>()), (Fields{40, 32, 64, 1, 24}));
}

}  // namespace
}  // namespace ambersel::testing
