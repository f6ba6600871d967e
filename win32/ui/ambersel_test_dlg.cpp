#include "win32/ui/ambersel_test_dlg.h"

#include <windowsx.h>

#include <filesystem>
#include <memory>
#include <utility>

#include "files/list_reading.h"
#include "plot/layout/spectrum_chart.h"
#include "report/list_record.h"
#include "text/unicode_text.h"
#include "win32/framework/file_dialog.h"
#include "win32/framework/paint_dc.h"
#include "win32/framework/win_app.h"
#include "win32/ui/details_dlg.h"

using ambersel::win32::onCommand;

const ambersel::win32::MessageMapEntry CAmbersel_TestDlg::messageEntries[] = {
    ambersel::win32::onPaint(&CAmbersel_TestDlg::OnPaint),
    ambersel::win32::onQueryDragIcon(&CAmbersel_TestDlg::OnQueryDragIcon),
    onCommand(BN_CLICKED, IDCANCEL, &CAmbersel_TestDlg::OnCancelButton),
    onCommand(BN_CLICKED, IDOK, &CAmbersel_TestDlg::OnCalculate),
    onCommand(BN_CLICKED, IDC_BROWSE, &CAmbersel_TestDlg::OnBrowseFile),
    ambersel::win32::onMessage(WM_CONTEXTMENU, &CAmbersel_TestDlg::OnContextMenu),
};
const ambersel::win32::MessageMap CAmbersel_TestDlg::messageMap{&CDialog::messageMap,
                                                                messageEntries};

CAmbersel_TestDlg::CAmbersel_TestDlg(Calculation calculation, ambersel::win32::CWnd* parent)
    : CDialog(IDD_TEST_DIALOG, parent),
      // Icons loaded from resources are shared: the dialog never destroys this one.
      m_hIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_calculation(std::move(calculation)) {}

const ambersel::win32::MessageMap* CAmbersel_TestDlg::GetMessageMap() const {
    return &messageMap;
}

void CAmbersel_TestDlg::DoDataExchange(ambersel::win32::CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    ambersel::win32::DDX_Text(pDX, IDC_RESULT, m_strResult);
    ambersel::win32::DDX_Text(pDX, IDC_FILEPATH, m_strFilePath);
}

BOOL CAmbersel_TestDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    return TRUE;
}

void CAmbersel_TestDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    const ambersel::win32::CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect{};
    GetClientRect(&rect);
    // Signed divisions that truncate toward zero.
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CAmbersel_TestDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void CAmbersel_TestDlg::OnCancelButton() {
    OnCancel();
}

void CAmbersel_TestDlg::OnCalculate() {
    m_strResult.clear();
    m_shownList.reset();
    UpdateData();
    // The path is the member as File last set it, never text read back from the control.
    const std::u16string path(m_strFilePath.begin(), m_strFilePath.end());
    ambersel::CalculationOutcome outcome = m_calculation(path);
    if (outcome.isOpenFailure()) {
        ambersel::win32::AfxMessageBox(L"Error in the input file", MB_OK);
        return;
    }
    m_shownList = ShownList{outcome.takeList(),
                            ambersel::report::reportHeadingNow(AMBERSEL_VERSION), outcome.stamp()};
    m_shownList->list.name = ambersel::generalizedUtf8FromUtf16(path);
    const std::u16string& line = outcome.resultLine();
    m_strResult.assign(line.begin(), line.end());
    UpdateData();
}

void CAmbersel_TestDlg::OnBrowseFile() {
    ambersel::win32::CFileDialog fileDialog(TRUE, L"ASC", nullptr,
                                            OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                                            L"Frequency-Level list (*.ASC)|*.ASC||");
    if (fileDialog.DoModal() != IDOK) {
        return;
    }
    m_strFilePath = fileDialog.GetPathName();
    UpdateData();
}

BOOL CAmbersel_TestDlg::OnContextMenu(WPARAM /*window*/, LPARAM position) {
    if (!m_shownList || m_strResult.empty()) {
        return TRUE;
    }
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1) {
        RECT line{};
        GetWindowRect(GetDlgItem(m_hWnd, IDC_RESULT), &line);
        at = {(line.left + line.right) / 2, line.bottom};
    }
    const std::unique_ptr<std::remove_pointer_t<HMENU>, decltype(&DestroyMenu)> menu(
        CreatePopupMenu(), &DestroyMenu);
    AppendMenuW(menu.get(), MF_STRING, ID_DETAILS, L"Details\u2026");
    const BOOL chosen =
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
    if (chosen == ID_DETAILS) {
        OnDetails();
    }
    return TRUE;
}

void CAmbersel_TestDlg::OnDetails() {
    const std::u16string path(m_strFilePath.begin(), m_strFilePath.end());
    // The facts of a file written since Calculate read it would vouch for a list it no longer
    // holds: the record then says so and gives none.
    ambersel::EvaluatedList& list = m_shownList->list;
    const std::optional<std::filesystem::path> file = ambersel::listFilePath(path);
    list.facts = file ? ambersel::factsOfReadFile(*file, m_shownList->stamp) : std::nullopt;
    list.factsWithheld = !list.facts;
    ambersel::plot::Chart chart =
        ambersel::plot::spectrumChart({ambersel::report::listFileName(list), &list.analysis});
    CDetailsDlg details(ambersel::report::recordOf(list), std::move(chart), m_shownList->heading,
                        this);
    details.DoModal();
}
