#pragma once

// The platform's common dialog for choosing a file to open.

#include <windows.h>
// After windows.h, on which it builds.
#include <commdlg.h>

#include <string>
#include <vector>

namespace ambersel::win32 {

class CWnd;

class CFileDialog {
  public:
    // An Open dialog (`openFileDialog` TRUE; a Save dialog is not offered). `defaultExtension`
    // ("ASC", without the dot) is appended to a name typed without one; `fileName` fills the name
    // box; `flags` are the OFN_ flags; `filter` lists the file types as "Name|patterns|...|"
    // ending in "||". Without a parent the dialog belongs to the active window. `structSize` 0
    // means the platform's full structure.
    CFileDialog(BOOL openFileDialog, const wchar_t* defaultExtension = nullptr,
                const wchar_t* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                const wchar_t* filter = nullptr, CWnd* parent = nullptr, DWORD structSize = 0);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // Shows the dialog until the operator chooses (IDOK) or cancels (IDCANCEL). Throws
    // std::runtime_error when the dialog fails.
    INT_PTR DoModal();
    // The full path chosen, after DoModal returned IDOK.
    std::wstring GetPathName() const;

    OPENFILENAMEW m_ofn{};

  private:
    std::wstring m_filter;
    std::wstring m_defaultExtension;
    std::vector<wchar_t> m_fileName;
    CWnd* m_pParentWnd;
};

}  // namespace ambersel::win32
