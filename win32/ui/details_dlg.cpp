#include "win32/ui/details_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "plot/drawing/chart_drawing.h"
#include "report/record_document.h"
#include "results/result_text.h"
#include "text/unicode_text.h"
#include "win32/framework/file_dialog.h"
#include "win32/framework/win_app.h"
#include "win32/ui/report_saving.h"

using ambersel::win32::onCommand;

namespace {

// Text as the window shows it; the record's texts are printable UTF-8, which always converts.
std::wstring wide(std::string_view utf8) {
    const std::u16string units = ambersel::utf16FromGeneralizedUtf8(utf8).value_or(u"\uFFFD");
    return {units.begin(), units.end()};
}

// Fills the list view `list` with `table`: numbers right-aligned, every column as wide as its
// widest cell or its heading, whichever is wider.
void fill(HWND list, const ambersel::report::Table& table) {
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
    for (std::size_t column = 0; column < table.heads.size(); ++column) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
        const auto cells = SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0);
        const std::wstring heading = wide(table.heads[column]);
        // The heading's text and room for the header's margins on both sides.
        const auto headingWidth =
            SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(heading.c_str())) +
            LRESULT{2} * GetSystemMetrics(SM_CXEDGE) + 12;
        SendMessageW(list, LVM_SETCOLUMNWIDTH, column, std::max(cells, headingWidth));
    }
}

}  // namespace

const ambersel::win32::MessageMapEntry CDetailsDlg::messageEntries[] = {
    ambersel::win32::onMessage(WM_DRAWITEM, &CDetailsDlg::OnDrawItem),
    onCommand(BN_CLICKED, IDC_SAVE_REPORT, &CDetailsDlg::OnSaveReport),
};
const ambersel::win32::MessageMap CDetailsDlg::messageMap{&CDialog::messageMap, messageEntries};

CDetailsDlg::CDetailsDlg(ambersel::report::ListRecord record,
                         std::variant<ambersel::report::ReportHeading, std::string> heading,
                         ambersel::win32::CWnd* parent)
    : CDialog(IDD_DETAILS, parent), m_record(std::move(record)), m_heading(std::move(heading)) {}

const ambersel::win32::MessageMap* CDetailsDlg::GetMessageMap() const {
    return &messageMap;
}

BOOL CDetailsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const std::wstring title = L"Details: " + wide(ambersel::printableText(m_record.name));
    SetWindowTextW(m_hWnd, title.c_str());
    const std::wstring line =
        wide(m_record.resultLine + "    Margin " + ambersel::marginText(m_record.margin) + ": " +
             ambersel::marginMeaning(m_record.margin));
    SetDlgItemTextW(m_hWnd, IDC_DETAILS_LINE, line.c_str());
    fill(GetDlgItem(m_hWnd, IDC_DETAILS_BANDS), ambersel::report::bandTable(m_record));
    fill(GetDlgItem(m_hWnd, IDC_DETAILS_CONTRIBUTORS),
         ambersel::report::contributorTable(m_record));
    SetFocus(GetDlgItem(m_hWnd, IDC_SAVE_REPORT));
    return FALSE;
}

BOOL CDetailsDlg::OnDrawItem(WPARAM id, LPARAM item) {
    if (id != IDC_DETAILS_PICTURE) {
        return FALSE;
    }
    // WM_DRAWITEM hands its structure over as an integer.
    const auto& drawn =
        *reinterpret_cast<const DRAWITEMSTRUCT*>(item);  // NOLINT(performance-no-int-to-ptr)
    Gdiplus::Graphics graphics(drawn.hDC);
    const RECT& box = drawn.rcItem;
    graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
    if (!m_record.picture) {
        return TRUE;
    }
    const ambersel::plot::Size size = m_record.picture->layout.canvas;
    const double scale =
        std::min((box.right - box.left) / size.width, (box.bottom - box.top) / size.height);
    graphics.TranslateTransform(
        static_cast<Gdiplus::REAL>(box.left + (box.right - box.left - size.width * scale) / 2),
        static_cast<Gdiplus::REAL>(box.top + (box.bottom - box.top - size.height * scale) / 2));
    graphics.ScaleTransform(static_cast<Gdiplus::REAL>(scale), static_cast<Gdiplus::REAL>(scale));
    ambersel::plot::GdiplusCanvas canvas(graphics, m_gdiplus);
    ambersel::plot::drawChart(canvas, m_record.picture->chart, m_record.picture->layout);
    return TRUE;
}

void CDetailsDlg::OnSaveReport() {
    const std::wstring proposed = reportNameFor(m_record.name);
    ambersel::win32::CFileDialog fileDialog(
        FALSE, L"html", proposed.c_str(),
        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
        L"HTML report (*.html)|*.html||");
    if (fileDialog.DoModal() != IDOK) {
        return;
    }
    const auto* heading = std::get_if<ambersel::report::ReportHeading>(&m_heading);
    if (const std::optional<std::string> failure =
            heading != nullptr ? saveHtmlReport(fileDialog.GetPathName(), *heading, m_record)
                               : std::get<std::string>(m_heading)) {
        ambersel::win32::AfxMessageBox(L"The report could not be written: " + wide(*failure),
                                       MB_OK | MB_ICONWARNING);
    }
}
