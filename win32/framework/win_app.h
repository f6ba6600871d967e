#pragma once

// The application object and the program's start, and the message box that every part of the
// program shows its messages in.
//
// A program defines exactly one object of a class derived from CWinApp, at namespace scope, and
// hands its entry point to AfxWinMain(), which runs InitInstance() and, when that returns TRUE,
// a message loop until the program quits.

#include <windows.h>

#include <string>

namespace ambersel::win32 {

class CWnd;

class CWinApp {
  public:
    // Registers this object as the program's application. Without an explicit name the program's
    // name is its executable's file name without extension.
    explicit CWinApp(const wchar_t* appName = nullptr) noexcept;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // Starts the program; FALSE ends it at once, TRUE runs the message loop.
    virtual BOOL InitInstance();
    // The program's exit status, once it ends.
    virtual int ExitInstance();
    // Pumps messages until WM_QUIT; returns ExitInstance().
    virtual int Run();

    // The name given at construction, or nullptr.
    const wchar_t* m_pszAppName;
    // The main window, while one is shown.
    CWnd* m_pMainWnd = nullptr;
};

// The program's application object, or nullptr when it has none (a test program).
CWinApp* AfxGetApp() noexcept;

// The program's name, the caption of its message boxes: the application's name, or else the
// executable's file name without extension.
std::wstring AfxGetAppName();

// The executable's file name without folder and extension: "Ambersel_Test".
std::wstring moduleBaseName();

// Text in the ANSI code page, the encoding of the C++ library's exception messages, as UTF-16.
std::wstring fromAnsi(const char* text);

// Shows `text` in a modal message box over the active window, captioned with the program's name,
// and returns the button pressed. A type without an icon gets the one that suits its buttons: the
// exclamation mark for OK and OK/Cancel, the question mark for Yes/No.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK);

// Runs the program's application object: InitInstance(), then Run() or ExitInstance(). A failure
// that escapes them is shown in a message box and ends the program with status 1.
int AfxWinMain();

}  // namespace ambersel::win32
