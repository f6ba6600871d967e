#include "win32/framework/win_app.h"

#include <exception>
#include <new>
#include <string>

#include "win32/framework/window.h"

namespace ambersel::win32 {
namespace {

CWinApp* g_application = nullptr;

UINT withDefaultIcon(UINT type) {
    if ((type & MB_ICONMASK) != 0) {
        return type;
    }
    switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            return type | MB_ICONEXCLAMATION;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            return type | MB_ICONQUESTION;
        default:
            return type;
    }
}

// The window a message box belongs to: the active window of this thread, else the main window.
HWND messageBoxOwner() {
    if (const HWND active = GetActiveWindow(); active != nullptr) {
        return active;
    }
    const CWinApp* application = AfxGetApp();
    return application != nullptr && application->m_pMainWnd != nullptr
               ? application->m_pMainWnd->GetSafeHwnd()
               : nullptr;
}

}  // namespace

CWinApp::CWinApp() noexcept {
    g_application = this;
}

CWinApp::~CWinApp() {
    if (g_application == this) {
        g_application = nullptr;
    }
}

CWinApp* AfxGetApp() noexcept {
    return g_application;
}

std::wstring AfxGetAppName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t nameStart = path.find_last_of(L"\\/:");
    std::wstring name = nameStart == std::wstring::npos ? path : path.substr(nameStart + 1);
    const std::size_t extension = name.rfind(L'.');
    if (extension != std::wstring::npos && extension > 0) {
        name.resize(extension);
    }
    return name;
}

std::wstring fromAnsi(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.pop_back();
    return wide;
}

int AfxMessageBox(const std::wstring& text, UINT type) {
    const std::wstring caption = AfxGetAppName();
    return MessageBoxW(messageBoxOwner(), text.c_str(), caption.c_str(), withDefaultIcon(type));
}

int AfxWinMain() {
    CWinApp* application = AfxGetApp();
    if (application == nullptr) {
        return 1;
    }
    try {
        try {
            return application->InitInstance() ? 0 : 1;
        } catch (const std::bad_alloc&) {
            AfxMessageBox(L"The program has stopped: there is not enough memory.", MB_ICONERROR);
        } catch (const std::exception& failure) {
            AfxMessageBox(L"The program has stopped: " + fromAnsi(failure.what()), MB_ICONERROR);
        } catch (...) {
            AfxMessageBox(L"The program has stopped because of an unexpected error.", MB_ICONERROR);
        }
    } catch (...) {
        OutputDebugStringW(L"The program has stopped and could not say why.\n");
    }
    return 1;
}

}  // namespace ambersel::win32
