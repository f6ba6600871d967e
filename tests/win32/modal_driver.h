#pragma once

// Drives modal windows of the Windows program from a test: the test's thread runs the modal loop
// (DoModal, or a whole program in another process) while a script on a second thread finds the
// windows, reads them and presses their buttons through the platform's messages, as the operator's
// mouse and keyboard would.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace ambersel::testing {

// Waits until `condition` holds; throws after ten seconds, saying what did not happen.
inline void waitUntil(const std::function<bool()>& condition, const char* what) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            throw std::runtime_error(std::string("timed out: ") + what);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

inline std::wstring text(HWND window) {
    wchar_t buffer[1024]{};
    GetWindowTextW(window, buffer, 1024);
    return buffer;
}
inline std::wstring text(HWND dialog, int id) {
    return text(GetDlgItem(dialog, id));
}
inline std::wstring className(HWND window) {
    wchar_t name[256]{};
    GetClassNameW(window, name, 256);
    return name;
}
// The texts of the static controls of `dialog`, in creation order: a message box's message.
inline std::vector<std::wstring> staticTexts(HWND dialog) {
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (className(child) == L"Static" && GetWindowTextLengthW(child) > 0) {
            texts.push_back(text(child));
        }
    }
    return texts;
}

// Clicks the button `id` of `dialog` as the mouse would. Returns at once: the click is handled by
// the dialog's own loop, which may open another modal window.
inline void click(HWND dialog, int id) {
    if (GetDlgItem(dialog, id) == nullptr) {
        throw std::runtime_error("no button " + std::to_string(id));
    }
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}
// Clicks the button `id` of `dialog` and waits until the dialog is gone.
inline void clickToClose(HWND dialog, int id) {
    click(dialog, id);
    waitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, "a close");
}

// The windows of one thread (or one process), as a script sees them.
class WindowDriver {
  public:
    // Windows of the thread `threadId`, or of every thread of process `processId` if it is not 0.
    explicit WindowDriver(DWORD threadId, DWORD processId = 0)
        : m_threadId(threadId), m_processId(processId) {}

    // Waits for a visible top-level dialog window that `accept` accepts, and returns it.
    HWND waitFor(const std::function<bool(HWND)>& accept) const {
        HWND found = nullptr;
        waitUntil(
            [&] {
                const std::vector<HWND> windows = dialogs();
                const auto it = std::ranges::find_if(windows, accept);
                return (found = it != windows.end() ? *it : nullptr) != nullptr;
            },
            "the awaited window");
        return found;
    }
    HWND waitForCaptioned(const std::wstring& caption) const {
        return waitFor([&](HWND window) { return text(window) == caption; });
    }
    HWND waitForOwnedBy(HWND owner) const {
        return waitFor([&](HWND window) { return GetWindow(window, GW_OWNER) == owner; });
    }

    // The visible top-level windows of class `windowClass`: dialogs ("#32770"), or popup menus
    // ("#32768").
    std::vector<HWND> dialogs(const wchar_t* windowClass = L"#32770") const {
        std::vector<HWND> found;
        const auto collect = [](HWND window, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        };
        EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
        std::erase_if(found, [&](HWND window) {
            DWORD process = 0;
            const DWORD thread = GetWindowThreadProcessId(window, &process);
            const bool ours = m_processId != 0 ? process == m_processId : thread == m_threadId;
            return !ours || !IsWindowVisible(window) || className(window) != windowClass;
        });
        return found;
    }

    // Waits for an open popup menu and returns the texts of its items.
    std::vector<std::wstring> waitForMenu() const {
        HWND menuWindow = nullptr;
        waitUntil(
            [&] {
                const std::vector<HWND> menus = dialogs(L"#32768");
                return (menuWindow = menus.empty() ? nullptr : menus.front()) != nullptr;
            },
            "a popup menu");
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        std::vector<std::wstring> items;
        for (int item = 0; item < GetMenuItemCount(menu); ++item) {
            wchar_t text[256]{};
            GetMenuStringW(menu, static_cast<UINT>(item), text, 256, MF_BYPOSITION);
            items.push_back(text);
        }
        return items;
    }

    // The window that has the keyboard focus in the driven thread.
    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(m_threadId, &info) ? info.hwndFocus : nullptr;
    }
    // Sets the focus on `id` as the Tab key would, then presses and releases `key` there, through
    // the modal loop's keyboard handling.
    void pressOn(HWND dialog, int id, UINT key) const {
        const HWND target = GetDlgItem(dialog, id);
        PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
        waitUntil([&] { return focus() == target; }, "the focus did not move");
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    }

  private:
    DWORD m_threadId;
    DWORD m_processId;
};

// Runs `modal` (a DoModal) on this thread while `script` drives its windows from another thread;
// the script must end the modal loop. Should it fail, or leave the loop running, every window of
// this thread is closed until `modal` returns, so that a test fails instead of hanging; the failure
// is then rethrown here. Returns what `modal` returned.
inline INT_PTR runModal(const std::function<INT_PTR()>& modal,
                        const std::function<void(const WindowDriver&)>& script) {
    const DWORD threadId = GetCurrentThreadId();
    std::exception_ptr failure;
    std::atomic<bool> modalDone{false};
    std::thread driver([&] {
        const WindowDriver windows(threadId);
        try {
            script(windows);
            waitUntil([&] { return modalDone.load(); }, "the script left the modal loop running");
        } catch (...) {
            failure = std::current_exception();
        }
        while (!modalDone) {
            for (const HWND window : windows.dialogs()) {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    INT_PTR result = 0;
    std::exception_ptr modalFailure;
    try {
        result = modal();
    } catch (...) {
        modalFailure = std::current_exception();
    }
    modalDone = true;
    driver.join();
    for (const std::exception_ptr& thrown : {modalFailure, failure}) {
        if (thrown) {
            std::rethrow_exception(thrown);
        }
    }
    return result;
}

}  // namespace ambersel::testing
