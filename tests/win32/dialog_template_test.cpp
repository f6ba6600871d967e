// The main dialog's template and icon as the resource compiler built them into the program, and
// the dialog as the platform's dialog manager lays it out from them.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/win32/modal_driver.h"
#include "win32/ui/ambersel_test_dlg.h"
#include "win32/ui/resource.h"

namespace ambersel::testing {
namespace {

constexpr const wchar_t* kCaption = L"Ambersel Test Calculator (R&S file format)";
constexpr WORD kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);

struct ControlRow {
    const char* name;
    int id;
    WORD classAtom;  // 0x80 button, 0x81 edit, 0x82 static
    const wchar_t* text;
    RECT units;  // left, top, width, height in dialog units
    DWORD style;
};

// In tab order.
constexpr ControlRow kControls[] = {
    {"Calculate", IDOK, 0x80, L"Calculate", {263, 48, 50, 16}, 0x50010001},
    {"Cancel", IDCANCEL, 0x80, L"Cancel", {7, 48, 50, 16}, 0x50010000},
    {"result_line", IDC_RESULT, 0x82, L"", {7, 33, 306, 8}, 0x50020001},
    {"File", IDC_BROWSE, 0x80, L"File", {9, 9, 50, 14}, 0x50010000},
    {"path_field", IDC_FILEPATH, 0x81, L"", {64, 9, 249, 14}, 0x50810880},
};

// Reads the fields of a resource in order, each at its natural alignment.
class ResourceReader {
  public:
    ResourceReader(const void* data, DWORD size)
        : m_bytes(static_cast<const std::uint8_t*>(data)), m_size(size) {}

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
    const std::uint8_t* m_bytes;
    DWORD m_size;
    std::size_t m_offset = 0;
};

ResourceReader germanResource(LPCWSTR type, int id) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(id), kGerman);
    if (found == nullptr) {
        throw std::runtime_error("no German resource " + std::to_string(id));
    }
    return {LockResource(LoadResource(module, found)), SizeofResource(module, found)};
}

TEST(DialogTemplate, IsTheExtendedTemplateOfTheLayout) {
    ResourceReader in = germanResource(RT_DIALOG, IDD_TEST_DIALOG);
    EXPECT_EQ(in.read<WORD>(), 1);       // version
    EXPECT_EQ(in.read<WORD>(), 0xFFFF);  // an extended template
    in.read<DWORD>();                    // help context
    EXPECT_EQ(in.read<DWORD>(), 0x00040000U) << "extended style";
    EXPECT_EQ(in.read<DWORD>(), 0x90C300C8U) << "style";
    ASSERT_EQ(in.read<WORD>(), std::size(kControls));
    const auto x = in.read<short>();
    const auto y = in.read<short>();
    const auto width = in.read<short>();
    const auto height = in.read<short>();
    EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{0, 0, 320, 71}));
    EXPECT_EQ(in.nameOrOrdinal(), L"") << "menu";
    EXPECT_EQ(in.nameOrOrdinal(), L"") << "window class";
    EXPECT_EQ(in.nameOrOrdinal(), kCaption);
    EXPECT_EQ(in.read<WORD>(), 8) << "font size";
    EXPECT_EQ(in.read<WORD>(), 0) << "font weight";
    EXPECT_EQ(in.read<BYTE>(), 0) << "italic";
    EXPECT_EQ(in.read<BYTE>(), 1) << "character set";
    EXPECT_EQ(in.nameOrOrdinal(), L"MS Shell Dlg");

    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        in.alignTo(4);
        in.read<DWORD>();  // help context
        EXPECT_EQ(in.read<DWORD>(), 0U) << "extended style";
        EXPECT_EQ(in.read<DWORD>(), row.style) << "style";
        const RECT rect{in.read<short>(), in.read<short>(), in.read<short>(), in.read<short>()};
        EXPECT_EQ(
            (std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
            (std::vector<LONG>{row.units.left, row.units.top, row.units.right, row.units.bottom}));
        EXPECT_EQ(in.read<DWORD>(), static_cast<DWORD>(row.id));
        EXPECT_EQ(in.nameOrOrdinal(), L"#" + std::to_wstring(row.classAtom)) << "class";
        EXPECT_EQ(in.nameOrOrdinal(), row.text);
        in.skip(in.read<WORD>());  // creation data
    }
}

TEST(DialogTemplate, IconIsOne32By32ImageOf24BitsPerPixel) {
    ResourceReader group = germanResource(RT_GROUP_ICON, IDR_MAINFRAME);
    group.read<WORD>();
    EXPECT_EQ(group.read<WORD>(), 1) << "an icon";
    ASSERT_EQ(group.read<WORD>(), 1) << "images";
    EXPECT_EQ(group.read<BYTE>(), 32);
    EXPECT_EQ(group.read<BYTE>(), 32);
    group.skip(4);  // colour count, reserved, planes
    EXPECT_EQ(group.read<WORD>(), 24) << "bits per pixel";
    group.read<DWORD>();
    const WORD imageId = group.read<WORD>();

    ResourceReader image = germanResource(RT_ICON, imageId);
    EXPECT_EQ(image.read<DWORD>(), 40U) << "a bitmap, not a PNG";
    EXPECT_EQ(image.read<LONG>(), 32);
    EXPECT_EQ(image.read<LONG>(), 64) << "colour and mask";
    image.read<WORD>();
    EXPECT_EQ(image.read<WORD>(), 24);
}

// Where a control lies in the dialog's client area, in pixels.
RECT clientRect(HWND dialog, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
std::vector<LONG> corners(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// Checks the open dialog's layout, focus, tab order, frame and icons, then closes it.
void checkLayout(const WindowDriver& w) {
    const HWND window = w.waitForDialogCaptioned(kCaption);
    RECT size{0, 0, 320, 71};
    MapDialogRect(window, &size);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(corners(client), corners(size)) << "client area";

    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        const HWND control = GetDlgItem(window, row.id);
        ASSERT_NE(control, nullptr);
        // Each coordinate and extent is converted on its own, as the dialog manager does.
        RECT pixels = row.units;
        MapDialogRect(window, &pixels);
        const RECT expected{pixels.left, pixels.top, pixels.left + pixels.right,
                            pixels.top + pixels.bottom};
        EXPECT_EQ(corners(clientRect(window, control)), corners(expected));
        // The dialog manager draws the border of an edit field its own way (WS_EX_CLIENTEDGE).
        constexpr DWORD kKept = 0x0003FFFF;  // the control's own styles, tab stop and group
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)) & kKept,
                  row.style & kKept);
        EXPECT_EQ(WindowDriver::text(control), row.text);
    }

    EXPECT_EQ(w.focus(), GetDlgItem(window, IDOK)) << "the focus starts on Calculate";
    // Tab order: every tab stop once, in template order, then round again.
    HWND item = GetDlgItem(window, IDOK);
    for (const int id : {IDCANCEL, IDC_BROWSE, IDC_FILEPATH, IDOK}) {
        item = GetNextDlgTabItem(window, item, FALSE);
        EXPECT_EQ(GetDlgCtrlID(item), id);
    }

    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    EXPECT_EQ(style & ~WS_CLIPSIBLINGS & 0xFFFF0000U, 0x90C30000U)
        << "frame, caption and window buttons";
    EXPECT_EQ(style & WS_SYSMENU, 0U) << "a system menu brings a close button";
    EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

    const auto icon = reinterpret_cast<LRESULT>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0,
                   LR_DEFAULTSIZE | LR_SHARED));
    EXPECT_NE(icon, 0);
    EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_BIG, 0), icon);
    EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), icon);
    EXPECT_EQ(SendMessageW(window, WM_QUERYDRAGICON, 0, 0), icon);

    WindowDriver::click(window, IDCANCEL);
}

TEST(DialogLayout, IsTheTemplateInDialogUnitsOfItsFont) {
    CAmbersel_TestDlg dialog;
    EXPECT_EQ(runModal([&] { return dialog.DoModal(); }, checkLayout), IDCANCEL);
}

}  // namespace
}  // namespace ambersel::testing
