// Ambersel_Test: the Ambersel Test Calculator's desktop program for Windows.

#include <windows.h>

#include "win32/app/ambersel_test_app.h"
#include "win32/framework/win_app.h"

// The one application object; it exists for the whole life of the process.
CAmbersel_TestApp theApp;

// Command-line arguments are not read: the program starts alike with and without them.
int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    return ambersel::win32::AfxWinMain();
}
