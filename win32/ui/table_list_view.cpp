#include "win32/ui/table_list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "text/unicode_text.h"
#include "win32/framework/window_dpi.h"

namespace {

// Text as the window shows it; the tables' texts are printable UTF-8, which always converts.
std::wstring wide(std::string_view utf8) {
    const std::u16string units = ambersel::utf16FromGeneralizedUtf8(utf8).value_or(u"\uFFFD");
    return {units.begin(), units.end()};
}

HWND headerOf(HWND list) {
    // LVM_GETHEADER answers with the handle as an integer.
    return reinterpret_cast<HWND>(  // NOLINT(performance-no-int-to-ptr)
        SendMessageW(list, LVM_GETHEADER, 0, 0));
}

int columnCount(HWND list) {
    return static_cast<int>(SendMessageW(headerOf(list), HDM_GETITEMCOUNT, 0, 0));
}

// The em of `list`'s font, in pixels.
int emOf(HWND list) {
    return ambersel::win32::measuresOf(ambersel::win32::fontOf(list)).emPixels;
}

std::wstring headingOf(HWND list, int column) {
    std::array<wchar_t, 256> text{};
    LVCOLUMNW format{};
    format.mask = LVCF_TEXT;
    format.pszText = text.data();
    format.cchTextMax = static_cast<int>(text.size());
    SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&format));
    return text.data();
}

}  // namespace

void fillListView(HWND list, const ambersel::report::Table& table) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (std::size_t column = 0; column < table.heads.size(); ++column) {
        std::wstring heading = wide(table.heads[column]);
        LVCOLUMNW format{};
        format.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
        // The first column of a list view is always left-aligned.
        const bool number = !table.rows.empty() && column < table.rows.front().size() &&
                            table.rows.front()[column].kind == ambersel::report::CellKind::Number;
        format.fmt = column == 0 || !number ? LVCFMT_LEFT : LVCFMT_RIGHT;
        format.pszText = heading.data();
        format.iSubItem = static_cast<int>(column);
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&format));
    }
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        for (std::size_t column = 0; column < table.rows[row].size(); ++column) {
            std::wstring cell = wide(table.rows[row][column].text);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(column);
            item.pszText = cell.data();
            SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row,
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    fitColumns(list);
}

void fitColumns(HWND list) {
    // The header keeps a margin on either side of its text and its edges.
    const LRESULT margins = LRESULT{2} * GetSystemMetrics(SM_CXEDGE) + emOf(list);
    for (int column = 0; column < columnCount(list); ++column) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE);
        const LRESULT cells =
            SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0);
        const std::wstring heading = headingOf(list, column);
        const LRESULT headingWidth =
            SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(heading.c_str())) +
            margins;
        SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                     std::max(cells, headingWidth));
    }
}

SIZE wholeTableSize(HWND list, int rows) {
    int columns = 0;
    for (int column = 0; column < columnCount(list); ++column) {
        columns += static_cast<int>(
            SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    }
    // The header's height for the list's font, as the list view lays it out.
    RECT area{0, 0, columns, 32767};
    WINDOWPOS place{};
    HDLAYOUT headerLayout{&area, &place};
    SendMessageW(headerOf(list), HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&headerLayout));
    RECT row{};
    row.left = LVIR_BOUNDS;
    const bool hasRow = SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)) != 0;
    const int rowHeight = hasRow ? static_cast<int>(row.bottom - row.top) : emOf(list) + 6;
    // The frame: the list's border and edges, without scroll bars.
    RECT frame{};
    AdjustWindowRectEx(&frame,
                       static_cast<DWORD>(GetWindowLongPtrW(list, GWL_STYLE)) &
                           ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL),
                       FALSE, static_cast<DWORD>(GetWindowLongPtrW(list, GWL_EXSTYLE)));
    // Two pixels to spare, lest a rounding of the list view's own bring a scroll bar.
    constexpr int kSpare = 2;
    return {columns + (frame.right - frame.left) + kSpare,
            place.cy + rows * rowHeight + (frame.bottom - frame.top) + kSpare};
}
