#include "win32/ui/details_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cmath>
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
#include "win32/ui/table_list_view.h"

using ambersel::win32::onCommand;
using ambersel::win32::onMessage;

namespace {

// Text as the window shows it; the record's texts are printable UTF-8, which always converts.
std::wstring wide(std::string_view utf8) {
    const std::u16string units = ambersel::utf16FromGeneralizedUtf8(utf8).value_or(u"\uFFFD");
    return {units.begin(), units.end()};
}

constexpr std::array kControls{IDC_DETAILS_LINE,
                               IDC_DETAILS_PICTURE,
                               IDC_DETAILS_BANDS_CAPTION,
                               IDC_DETAILS_BANDS,
                               IDC_DETAILS_CONTRIBUTORS_CAPTION,
                               IDC_DETAILS_CONTRIBUTORS,
                               IDC_SAVE_REPORT,
                               IDCANCEL};

int listRows(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, LVM_GETITEMCOUNT, 0, 0));
}

// The window's size for a client area of `client`.
SIZE windowSizeFor(HWND window, SIZE client) {
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    return {frame.right - frame.left, frame.bottom - frame.top};
}

RECT workAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// `size` centred over `owner`, within `area` as far as it fits.
RECT centredOver(HWND owner, SIZE size, const RECT& area) {
    RECT over = area;
    if (owner != nullptr) {
        GetWindowRect(owner, &over);
    }
    const auto within = [](LONG wanted, LONG length, LONG low, LONG high) {
        return std::max(low, std::min(wanted, high - length));
    };
    const LONG left =
        within((over.left + over.right - size.cx) / 2, size.cx, area.left, area.right);
    const LONG top = within((over.top + over.bottom - size.cy) / 2, size.cy, area.top, area.bottom);
    return {left, top, left + size.cx, top + size.cy};
}

}  // namespace

const ambersel::win32::MessageMapEntry CDetailsDlg::messageEntries[] = {
    onMessage(WM_DRAWITEM, &CDetailsDlg::OnDrawItem),
    onMessage(WM_SIZE, &CDetailsDlg::OnSize),
    onMessage(WM_GETMINMAXINFO, &CDetailsDlg::OnGetMinMaxInfo),
    onMessage(WM_DPICHANGED, &CDetailsDlg::OnDpiChanged),
    onCommand(BN_CLICKED, IDC_SAVE_REPORT, &CDetailsDlg::OnSaveReport),
};
const ambersel::win32::MessageMap CDetailsDlg::messageMap{&CDialog::messageMap, messageEntries};

CDetailsDlg::CDetailsDlg(ambersel::report::ListRecord record, ambersel::plot::Chart chart,
                         std::variant<ambersel::report::ReportHeading, std::string> heading,
                         ambersel::win32::CWnd* parent)
    : CDialog(IDD_DETAILS, parent),
      m_record(std::move(record)),
      m_chart(std::move(chart)),
      m_heading(std::move(heading)) {}

const ambersel::win32::MessageMap* CDetailsDlg::GetMessageMap() const {
    return &messageMap;
}

BOOL CDetailsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ambersel::win32::handleDpiChangesItself(m_hWnd);
    m_dpi = m_templateDpi = ambersel::win32::windowDpi(m_hWnd);
    const std::wstring title = L"Details: " + wide(ambersel::printableText(m_record.name));
    SetWindowTextW(m_hWnd, title.c_str());
    const std::wstring line =
        wide(m_record.resultLine + "    Margin " + ambersel::marginText(m_record.margin) + ": " +
             ambersel::marginMeaning(m_record.margin));
    SetDlgItemTextW(m_hWnd, IDC_DETAILS_LINE, line.c_str());
    fillListView(GetDlgItem(m_hWnd, IDC_DETAILS_BANDS), ambersel::report::bandTable(m_record));
    fillListView(GetDlgItem(m_hWnd, IDC_DETAILS_CONTRIBUTORS),
                 ambersel::report::contributorTable(m_record));
    m_placed = true;

    const RECT area = workAreaOf(m_hWnd);
    const SIZE wanted = windowSizeFor(m_hWnd, preferredDetailsClient(measures()));
    const SIZE size{std::min(wanted.cx, area.right - area.left),
                    std::min(wanted.cy, area.bottom - area.top)};
    const RECT place = centredOver(GetWindow(m_hWnd, GW_OWNER), size, area);
    SetWindowPos(m_hWnd, nullptr, place.left, place.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    placeControls();
    SetFocus(GetDlgItem(m_hWnd, IDC_SAVE_REPORT));
    return FALSE;
}

HFONT CDetailsDlg::font() const {
    return m_font ? m_font.get() : ambersel::win32::fontOf(m_hWnd);
}

DetailsMeasures CDetailsDlg::measures() const {
    const HWND bands = GetDlgItem(m_hWnd, IDC_DETAILS_BANDS);
    const HWND contributors = GetDlgItem(m_hWnd, IDC_DETAILS_CONTRIBUTORS);
    // Both tables as tall as the longer, so that their rows line up.
    const int rows = std::max(
        {listRows(m_hWnd, IDC_DETAILS_BANDS), listRows(m_hWnd, IDC_DETAILS_CONTRIBUTORS), 1});
    const ambersel::win32::FontMeasures fontMeasures = ambersel::win32::measuresOf(font());
    const ambersel::plot::Size picture = ambersel::plot::smallestPictureRoom(fontMeasures.emPixels);
    return {fontMeasures, wholeTableSize(bands, rows), wholeTableSize(contributors, rows),
            SIZE{std::lround(picture.width), std::lround(picture.height)}};
}

void CDetailsDlg::placeControls() {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const DetailsPlaces places = placeDetails({client.right, client.bottom}, measures());
    const std::array<const RECT*, kControls.size()> boxes{&places.line,
                                                          &places.picture,
                                                          &places.bandsCaption,
                                                          &places.bands,
                                                          &places.contributorsCaption,
                                                          &places.contributors,
                                                          &places.saveReport,
                                                          &places.close};
    // A list view keeps scroll bars that a smaller size or a larger font once needed when its
    // rows would fit only without them: it decides again, without, at its new size.
    for (const int id : {IDC_DETAILS_BANDS, IDC_DETAILS_CONTRIBUTORS}) {
        ShowScrollBar(GetDlgItem(m_hWnd, id), SB_BOTH, FALSE);
    }
    const HDWP moves = BeginDeferWindowPos(static_cast<int>(kControls.size()));
    HDWP deferred = moves;
    for (std::size_t i = 0; i < kControls.size() && deferred != nullptr; ++i) {
        const RECT& box = *boxes[i];
        deferred = DeferWindowPos(deferred, GetDlgItem(m_hWnd, kControls[i]), nullptr, box.left,
                                  box.top, box.right - box.left, box.bottom - box.top,
                                  SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (deferred != nullptr) {
        EndDeferWindowPos(deferred);
    }
    InvalidateRect(GetDlgItem(m_hWnd, IDC_DETAILS_PICTURE), nullptr, FALSE);
}

BOOL CDetailsDlg::OnSize(WPARAM kind, LPARAM /*size*/) {
    if (m_placed && kind != SIZE_MINIMIZED) {
        placeControls();
    }
    return TRUE;
}

BOOL CDetailsDlg::OnGetMinMaxInfo(WPARAM /*unused*/, LPARAM limits) {
    if (!m_placed) {
        return FALSE;
    }
    // WM_GETMINMAXINFO hands its structure over as an integer.
    auto& minMax = *reinterpret_cast<MINMAXINFO*>(limits);  // NOLINT(performance-no-int-to-ptr)
    const SIZE smallest = windowSizeFor(m_hWnd, smallestDetailsClient(measures()));
    const RECT area = workAreaOf(m_hWnd);
    minMax.ptMinTrackSize = {std::min(smallest.cx, area.right - area.left),
                             std::min(smallest.cy, area.bottom - area.top)};
    return TRUE;
}

BOOL CDetailsDlg::OnDpiChanged(WPARAM dpi, LPARAM proposed) {
    const UINT newDpi = HIWORD(dpi);
    if (newDpi != 0 && newDpi != m_dpi) {
        // Made from the template's font each time, so that no rounding adds up over moves.
        const HFONT templateFont = ambersel::win32::fontOf(m_hWnd);
        ambersel::win32::OwnedFont made =
            newDpi == m_templateDpi
                ? nullptr
                : ambersel::win32::fontForDpi(templateFont, m_templateDpi, newDpi);
        const HFONT shown = made ? made.get() : templateFont;
        // The controls let go of the earlier font before it is deleted.
        for (const int id : kControls) {
            SendDlgItemMessageW(m_hWnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
        }
        m_font = std::move(made);
        m_dpi = newDpi;
        fitColumns(GetDlgItem(m_hWnd, IDC_DETAILS_BANDS));
        fitColumns(GetDlgItem(m_hWnd, IDC_DETAILS_CONTRIBUTORS));
    }
    // WM_DPICHANGED hands the proposed place over as an integer.
    const RECT& place =
        *reinterpret_cast<const RECT*>(proposed);  // NOLINT(performance-no-int-to-ptr)
    SetWindowPos(m_hWnd, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    placeControls();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

void CDetailsDlg::drawPicture(int width, int height) {
    const int fontPixels = ambersel::win32::measuresOf(font()).emPixels;
    if (m_picture && static_cast<int>(m_picture->GetWidth()) == width &&
        static_cast<int>(m_picture->GetHeight()) == height && m_pictureFontPixels == fontPixels) {
        return;
    }
    const ambersel::plot::WindowChart fitted = ambersel::plot::layOutForWindow(
        m_chart, {static_cast<double>(width), static_cast<double>(height)}, fontPixels);
    m_picture = ambersel::plot::whiteBitmap(width, height);
    m_pictureFontPixels = fontPixels;
    Gdiplus::Graphics graphics(m_picture.get());
    graphics.ScaleTransform(static_cast<Gdiplus::REAL>(fitted.scale),
                            static_cast<Gdiplus::REAL>(fitted.scale));
    ambersel::plot::GdiplusCanvas canvas(graphics, m_gdiplus);
    ambersel::plot::drawChart(canvas, m_chart, fitted.layout);
}

BOOL CDetailsDlg::OnDrawItem(WPARAM id, LPARAM item) {
    if (id != IDC_DETAILS_PICTURE) {
        return FALSE;
    }
    // WM_DRAWITEM hands its structure over as an integer.
    const auto& drawn =
        *reinterpret_cast<const DRAWITEMSTRUCT*>(item);  // NOLINT(performance-no-int-to-ptr)
    const RECT& box = drawn.rcItem;
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0) {
        return TRUE;
    }
    drawPicture(width, height);
    // Pixel for pixel: the picture was drawn at the control's size.
    Gdiplus::Graphics graphics(drawn.hDC);
    graphics.SetPageUnit(Gdiplus::UnitPixel);
    graphics.DrawImage(m_picture.get(), Gdiplus::Rect(box.left, box.top, width, height), 0, 0,
                       width, height, Gdiplus::UnitPixel);
    return TRUE;
}

void CDetailsDlg::OnSaveReport() {
    const std::wstring proposed = proposedReportPath(m_record.name);
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
