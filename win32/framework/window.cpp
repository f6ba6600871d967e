#include "win32/framework/window.h"

#include <exception>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "win32/framework/win_app.h"

namespace ambersel::win32 {
namespace {

// Whether `entry` handles `message`; for WM_COMMAND `wParam` holds the notification and the id.
bool handles(const MessageMapEntry& entry, UINT message, WPARAM wParam) {
    if (entry.message != message) {
        return false;
    }
    return message != WM_COMMAND ||
           (entry.notifyCode == HIWORD(wParam) && entry.id == LOWORD(wParam));
}

}  // namespace

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

void CWnd::GetClientRect(LPRECT rect) const {
    ::GetClientRect(m_hWnd, rect);
}

void DDX_Text(CDataExchange* pDX, int id, const std::wstring& value) {
    const HWND control = GetDlgItem(pDX->m_pDlgWnd->GetSafeHwnd(), id);
    if (control == nullptr) {
        throw std::logic_error("the dialog has no control " + std::to_string(id));
    }
    SetWindowTextW(control, value.c_str());
}

const MessageMapEntry CDialog::messageEntries[] = {
    onCommand(BN_CLICKED, IDCANCEL, &CDialog::OnCancel),
};
const MessageMap CDialog::messageMap{nullptr, messageEntries};

const MessageMap* CDialog::GetMessageMap() const {
    return &messageMap;
}

INT_PTR CDialog::DoModal() {
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId),
                        m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr,
                        &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (result == -1) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "the dialog could not be created");
    }
    return result;
}

void CDialog::EndDialog(int result) {
    ::EndDialog(m_hWnd, result);
}

void CDialog::UpdateData() {
    CDataExchange exchange(this);
    DoDataExchange(&exchange);
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

BOOL CDialog::OnInitDialog() {
    UpdateData();
    return TRUE;
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnPaint() {
    Default();
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The dialog manager carries the dialog's address only as an integer: in WM_INITDIALOG's
    // parameter and in the window's user data.
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<CDialog*>(lParam)->m_hWnd = window;  // NOLINT(performance-no-int-to-ptr)
    }
    // NOLINTNEXTLINE(performance-no-int-to-ptr): see above.
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    // Messages that come before WM_INITDIALOG (WM_SETFONT) go to the dialog manager.
    return dialog != nullptr ? dialog->dispatchGuarded(message, wParam, lParam) : FALSE;
}

INT_PTR CDialog::dispatchGuarded(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        try {
            return dispatch(message, wParam, lParam);
        } catch (const std::bad_alloc&) {
            reportFailure(L"The command could not be completed: there is not enough memory.");
        } catch (const std::exception& failure) {
            reportFailure(L"The command could not be completed: " + fromAnsi(failure.what()));
        } catch (...) {
            reportFailure(L"The command could not be completed because of an unexpected error.");
        }
    } catch (...) {
        // Even the report failed, most likely for want of memory: a debugger is all that is left.
        OutputDebugStringW(L"A command failed and could not be reported.\n");
    }
    // The message counts as handled: the command has ended and the dialog goes on.
    return TRUE;
}

INT_PTR CDialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return OnInitDialog();
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        m_hWnd = nullptr;
        return FALSE;
    }
    const MessageMapEntry* entry = findHandler(message, wParam);
    if (entry == nullptr) {
        return FALSE;
    }
    m_passToPlatform = false;
    if (const auto* handler = std::get_if<HCURSOR (CDialog::*)()>(&entry->handler)) {
        // WM_QUERYDRAGICON's result is the dialog procedure's own return value.
        return reinterpret_cast<INT_PTR>((this->*(*handler))());
    }
    if (const auto* handler = std::get_if<BOOL (CDialog::*)(WPARAM, LPARAM)>(&entry->handler)) {
        return (this->*(*handler))(wParam, lParam);
    }
    (this->*std::get<void (CDialog::*)()>(entry->handler))();
    return m_passToPlatform ? FALSE : TRUE;
}

const MessageMapEntry* CDialog::findHandler(UINT message, WPARAM wParam) const {
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (const MessageMapEntry& entry : map->entries) {
            if (handles(entry, message, wParam)) {
                return &entry;
            }
        }
    }
    return nullptr;
}

void CDialog::reportFailure(const std::wstring& text) const {
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
}

}  // namespace ambersel::win32
