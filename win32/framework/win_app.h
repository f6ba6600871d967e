#pragma once

// The application object and the program's start, and the message box that every part of the
// program shows its messages in.
//
// A program defines exactly one object of a class derived from CWinApp, at namespace scope, and
// hands its entry point to AfxWinMain(), which runs InitInstance(): the program's modal dialogs run
// their own message loops, so the application has none.

#include <windows.h>

#include <string>

namespace ambersel::win32 {

class CWnd;

class CWinApp {
  public:
    // Registers this object as the program's application.
    CWinApp() noexcept;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // Runs the program to its end; FALSE when it failed (exit status 1), TRUE otherwise (0).
    virtual BOOL InitInstance() = 0;

    // The main window, while one is shown.
    CWnd* m_pMainWnd = nullptr;
};

// The program's application object, or nullptr when it has none (a test program).
CWinApp* AfxGetApp() noexcept;

// The program's name, the caption of its message boxes: the executable's file name without folder
// and extension, "Ambersel_Test".
std::wstring AfxGetAppName();

// Text in the ANSI code page, the encoding of the C++ library's exception messages, as UTF-16.
std::wstring fromAnsi(const char* text);

// Shows `text` in a modal message box over the active window, captioned with the program's name,
// and returns the button pressed. A type without an icon gets the one that suits its buttons: the
// exclamation mark for OK and OK/Cancel, the question mark for Yes/No.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK);

// Runs the program's application object's InitInstance(). A failure that escapes it is shown in a
// message box and ends the program with status 1.
int AfxWinMain();

}  // namespace ambersel::win32
