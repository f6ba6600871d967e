#pragma once

// The platform's common dialogs for choosing a file to open or a file to save to.

#include <windows.h>
// After windows.h, on which it builds.
#include <commdlg.h>

#include <string>
#include <vector>

namespace ambersel::win32 {

class CFileDialog {
  public:
    // An Open dialog (`openFileDialog` TRUE) or a Save dialog (FALSE), belonging to the active
    // window. `defaultExtension` ("ASC", without the dot) is appended to a name typed without one;
    // `fileName` fills the name box; `flags` are the OFN_ flags; `filter` lists the file types as
    // "Name|patterns|...|" ending in "||".
    CFileDialog(BOOL openFileDialog, const wchar_t* defaultExtension, const wchar_t* fileName,
                DWORD flags, const wchar_t* filter);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // Shows the dialog until the operator chooses (IDOK) or cancels (IDCANCEL). Throws
    // std::runtime_error when the dialog fails.
    INT_PTR DoModal();
    // The full path chosen, after DoModal returned IDOK.
    std::wstring GetPathName() const;

  private:
    OPENFILENAMEW m_ofn{};
    std::wstring m_filter;
    std::wstring m_defaultExtension;
    std::vector<wchar_t> m_fileName;
    bool m_open;
};

}  // namespace ambersel::win32
