#include "win32/ui/ambersel_test_dlg.h"

#include <utility>

#include "win32/framework/file_dialog.h"
#include "win32/framework/paint_dc.h"
#include "win32/framework/win_app.h"

using ambersel::win32::onCommand;

const ambersel::win32::MessageMapEntry CAmbersel_TestDlg::messageEntries[] = {
    ambersel::win32::onPaint(&CAmbersel_TestDlg::OnPaint),
    ambersel::win32::onQueryDragIcon(&CAmbersel_TestDlg::OnQueryDragIcon),
    onCommand(BN_CLICKED, IDCANCEL, &CAmbersel_TestDlg::OnCancelButton),
    onCommand(BN_CLICKED, IDOK, &CAmbersel_TestDlg::OnCalculate),
    onCommand(BN_CLICKED, IDC_BROWSE, &CAmbersel_TestDlg::OnBrowseFile),
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
    UpdateData(FALSE);
    // The path is the member as File last set it, never text read back from the control.
    const std::u16string path(m_strFilePath.begin(), m_strFilePath.end());
    const ambersel::CalculationOutcome outcome = m_calculation(path);
    if (outcome.isOpenFailure()) {
        ambersel::win32::AfxMessageBox(L"Error in the input file", MB_OK);
        return;
    }
    const std::u16string& line = outcome.resultLine();
    m_strResult.assign(line.begin(), line.end());
    UpdateData(FALSE);
}

void CAmbersel_TestDlg::OnBrowseFile() {
    ambersel::win32::CFileDialog fileDialog(TRUE, L"ASC", nullptr,
                                            OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                                            L"Frequency-Level list (*.ASC)|*.ASC||", nullptr, 0);
    if (fileDialog.DoModal() != IDOK) {
        return;
    }
    m_strFilePath = fileDialog.GetPathName();
    UpdateData(FALSE);
}
