#pragma once

// The dialog framework's windows: a window handle with the calls a dialog makes on itself, and the
// modal dialog run from a dialog template, with its message map and its data exchange (members to
// controls only: the dialogs never read their texts back).
//
// A dialog class names its handlers in a message map, a static table that chains to its base
// class's table; messages the tables do not name go to the platform's dialog manager. Nothing a
// handler throws ever reaches the platform: the dialog reports it in a message box and goes on.

#include <windows.h>

#include <span>
#include <string>
#include <variant>

namespace ambersel::win32 {

class CDialog;

// One row of a message map: a message (for WM_COMMAND: with a notification code and a control
// identifier) and the member function that handles it.
struct MessageMapEntry {
    UINT message = 0;
    UINT notifyCode = 0;  // WM_COMMAND only, BN_CLICKED for a button
    UINT id = 0;          // WM_COMMAND only
    // A handler of a message with parameters returns whether it handled the message.
    std::variant<void (CDialog::*)(), HCURSOR (CDialog::*)(), BOOL (CDialog::*)(WPARAM, LPARAM)>
        handler;
};

// A class's message map: its own rows, searched first, and its base class's map.
struct MessageMap {
    const MessageMap* base = nullptr;
    std::span<const MessageMapEntry> entries;
};

// Rows of a message map, for handlers of any class derived from CDialog.
template <class Dialog>
constexpr MessageMapEntry onCommand(UINT notifyCode, UINT id, void (Dialog::*handler)()) noexcept {
    return {WM_COMMAND, notifyCode, id, static_cast<void (CDialog::*)()>(handler)};
}
template <class Dialog>
constexpr MessageMapEntry onPaint(void (Dialog::*handler)()) noexcept {
    return {WM_PAINT, 0, 0, static_cast<void (CDialog::*)()>(handler)};
}
template <class Dialog>
constexpr MessageMapEntry onMessage(UINT message,
                                    BOOL (Dialog::*handler)(WPARAM, LPARAM)) noexcept {
    return {message, 0, 0, static_cast<BOOL (CDialog::*)(WPARAM, LPARAM)>(handler)};
}
template <class Dialog>
constexpr MessageMapEntry onQueryDragIcon(HCURSOR (Dialog::*handler)()) noexcept {
    return {WM_QUERYDRAGICON, 0, 0, static_cast<HCURSOR (CDialog::*)()>(handler)};
}

// A window of the program, by its handle; it neither creates nor destroys the window.
class CWnd {
  public:
    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL IsIconic() const;
    void GetClientRect(LPRECT rect) const;

  protected:
    HWND m_hWnd = nullptr;
};

// One data exchange, from a dialog's members to its controls.
class CDataExchange {
  public:
    explicit CDataExchange(CWnd* dialog) : m_pDlgWnd(dialog) {}

    CWnd* m_pDlgWnd;
};

// Shows `value` as the text of the dialog's control `id`.
void DDX_Text(CDataExchange* pDX, int id, const std::wstring& value);

// A modal dialog built from the dialog template `templateId` in the program's resources.
class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) noexcept
        : m_templateId(templateId), m_pParentWnd(parent) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog() = default;

    // Shows the dialog and runs its modal loop until EndDialog; returns the value given to it
    // (IDOK, IDCANCEL). Throws std::system_error when the dialog cannot be created.
    INT_PTR DoModal();
    // Ends the modal loop; DoModal then returns `result`.
    void EndDialog(int result);
    // Shows the members in the controls through DoDataExchange.
    void UpdateData();

  protected:
    virtual const MessageMap* GetMessageMap() const;
    virtual void DoDataExchange(CDataExchange* pDX);
    // Called once the controls exist; shows the members. TRUE puts the focus on the first tab
    // stop.
    virtual BOOL OnInitDialog();
    // Esc, Cancel or a close request: ends the dialog with IDCANCEL.
    virtual void OnCancel();
    // Has the platform's dialog manager paint the window as it would without a handler.
    void OnPaint();
    // Lets the platform handle the current message too, once the handler returns.
    void Default() noexcept { m_passToPlatform = true; }

    // The map that a derived class's map names as its base.
    static const MessageMap messageMap;

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatchGuarded(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    const MessageMapEntry* findHandler(UINT message, WPARAM wParam) const;
    void reportFailure(const std::wstring& text) const;

    static const MessageMapEntry messageEntries[];

    UINT m_templateId;
    CWnd* m_pParentWnd;
    bool m_passToPlatform = false;
};

}  // namespace ambersel::win32
