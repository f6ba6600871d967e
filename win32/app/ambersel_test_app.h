#pragma once

// The application: registers the common controls, runs the main dialog modally as the program's
// only window, and ends the program when the dialog closes.

#include <windows.h>

#include "win32/framework/win_app.h"

class CAmbersel_TestApp : public ambersel::win32::CWinApp {
  public:
    CAmbersel_TestApp() noexcept = default;

    // Runs the main dialog to its end, however it is closed.
    BOOL InitInstance() override;
};
