#include "win32/app/ambersel_test_app.h"

#include <commctrl.h>

#include "win32/ui/ambersel_test_dlg.h"

BOOL CAmbersel_TestApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    CAmbersel_TestDlg dialog;
    m_pMainWnd = &dialog;
    // Closing by any means is handled alike, so how the dialog closed does not matter.
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return TRUE;
}
