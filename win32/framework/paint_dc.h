#pragma once

// The device context of one WM_PAINT: painting begins when it is made and ends when it goes.

#include <windows.h>

#include "win32/framework/window.h"

namespace ambersel::win32 {

class CPaintDC {
  public:
    explicit CPaintDC(CWnd* window) : m_hWnd(window->GetSafeHwnd()) {
        m_hDC = BeginPaint(m_hWnd, &m_ps);
    }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC() { EndPaint(m_hWnd, &m_ps); }

    HDC GetSafeHdc() const noexcept { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON icon) const { return ::DrawIcon(m_hDC, x, y, icon); }

  private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hDC = nullptr;
};

}  // namespace ambersel::win32
