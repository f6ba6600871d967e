// The main dialog as the operator meets it on Windows: its icons and focus, keys, the file dialog,
// Calculate, and the message boxes of its failures. Every test runs its own dialog; a second thread
// drives it.

#include <windows.h>
// After windows.h, on which it builds.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <new>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "tests/test_files.h"
#include "tests/win32/modal_driver.h"
#include "win32/ui/ambersel_test_dlg.h"
#include "win32/ui/resource.h"

namespace ambersel::testing {
namespace {

constexpr const wchar_t* kCaption = L"Ambersel Test Calculator (R&S file format)";
constexpr const wchar_t* kPassLine = L"PASS : F = 0.1210";

// A Calculate command that counts its runs in `runs` and gives the pass line, except that the
// second run, if `second` is set, gives what `second` does.
CAmbersel_TestDlg::Calculation passing(int& runs, CAmbersel_TestDlg::Calculation second = {}) {
    return [&runs, second](std::u16string_view path) {
        return ++runs == 2 && second ? second(path)
                                     : CalculationOutcome::withResultLine(u"PASS : F = 0.1210");
    };
}

void waitForLine(HWND dialog, const std::wstring& line) {
    waitUntil([&] { return text(dialog, IDC_RESULT) == line; }, "the result line");
}
void calculate(HWND dialog, const std::wstring& line) {
    click(dialog, IDOK);
    waitForLine(dialog, line);
}

// Runs `dialog` while `script` drives its window from another thread.
INT_PTR run(CAmbersel_TestDlg& dialog,
            const std::function<void(const WindowDriver&, HWND)>& script) {
    return runModal([&] { return dialog.DoModal(); },
                    [&](const WindowDriver& w) { script(w, w.waitForCaptioned(kCaption)); });
}

TEST(Keys, ActAsTheOperatorExpects) {
    enum Effect { Calculates, OpensTheFileDialog, ClosesTheDialog };
    // What would go wrong; the control that has the focus when the key is pressed; the key.
    for (const auto& [name, focus, key, effect] :
         std::initializer_list<std::tuple<const char*, int, UINT, Effect>>{
             {"enter on Calculate calculates", IDOK, VK_RETURN, Calculates},
             {"enter in the path field presses Calculate", IDC_FILEPATH, VK_RETURN, Calculates},
             {"enter on File presses File", IDC_BROWSE, VK_RETURN, OpensTheFileDialog},
             {"enter on Cancel presses Cancel", IDCANCEL, VK_RETURN, ClosesTheDialog},
             {"escape closes from anywhere", IDC_FILEPATH, VK_ESCAPE, ClosesTheDialog}}) {
        SCOPED_TRACE(name);
        int runs = 0;
        CAmbersel_TestDlg dialog(passing(runs));
        const INT_PTR result = run(dialog, [&](const WindowDriver& w, HWND window) {
            w.pressOn(window, focus, key);
            if (effect == ClosesTheDialog) {
                return;
            }
            if (effect == Calculates) {
                waitForLine(window, kPassLine);
            } else {
                click(w.waitForOwnedBy(window), IDCANCEL);
            }
            EXPECT_TRUE(IsWindowVisible(window)) << "the dialog closed";
            click(window, IDCANCEL);
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(runs, effect == Calculates ? 1 : 0);
    }
}

// The file name box of the platform's file dialog: edt1, or the edit inside cmb13 on newer systems.
HWND fileNameBox(HWND fileDialog) {
    if (const HWND edit = GetDlgItem(fileDialog, 0x480); edit != nullptr) {
        return edit;
    }
    const HWND combo = GetDlgItem(fileDialog, 0x47C);
    if (combo != nullptr && className(combo) == WC_COMBOBOXEXW) {
        return reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0));
    }
    return combo == nullptr ? nullptr : FindWindowExW(combo, nullptr, L"Edit", nullptr);
}

// Presses File, types `name` into the file dialog's name box and presses its Open button.
void chooseFile(const WindowDriver& w, HWND dialog, const std::wstring& name) {
    click(dialog, IDC_BROWSE);
    const HWND fileDialog = w.waitForOwnedBy(dialog);
    const HWND box = fileNameBox(fileDialog);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text(fileDialog, 0x470), L"Frequency-Level list (*.ASC)");
    const HWND readOnly = GetDlgItem(fileDialog, 0x410);
    EXPECT_TRUE(readOnly == nullptr || !IsWindowVisible(readOnly)) << "a read-only check box";
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    clickToClose(fileDialog, IDOK);
}

// Checks the dialog's focus and icons, chooses the lists in `folder` and calculates them, then
// closes the dialog.
void chooseAndCalculate(const WindowDriver& w, HWND window, const std::wstring& folder) {
    // Wine puts the focus on the first control even when the dialog does not ask for it, so only
    // on Windows does this check see a dialog that leaves the focus unset.
    EXPECT_EQ(w.focus(), GetDlgItem(window, IDOK)) << "the focus starts on Calculate";
    const auto icon = reinterpret_cast<LRESULT>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0,
                   LR_DEFAULTSIZE | LR_SHARED));
    EXPECT_NE(icon, 0);
    for (const WPARAM kind : {ICON_BIG, ICON_SMALL}) {
        EXPECT_EQ(SendMessageW(window, WM_GETICON, kind, 0), icon) << "icon " << kind;
    }
    EXPECT_EQ(SendMessageW(window, WM_QUERYDRAGICON, 0, 0), icon);

    // A name typed without extension gets ".ASC" (Wine writes it in lower case).
    chooseFile(w, window, folder + L"list");
    const std::wstring chosen = text(window, IDC_FILEPATH);
    EXPECT_EQ(_wcsicmp(chosen.c_str(), (folder + L"list.ASC").c_str()), 0) << chosen;
    EXPECT_EQ(text(window, IDC_RESULT), L"");
    calculate(window, kPassLine);

    // Another list: the earlier line stays until the next Calculate.
    const std::wstring other = folder + L"other.asc";
    chooseFile(w, window, other);
    EXPECT_EQ(text(window, IDC_FILEPATH), other);
    EXPECT_EQ(text(window, IDC_RESULT), kPassLine);
    calculate(window, L"FAIL : F = 1.2104");

    // Cancelling the file dialog changes nothing; nor does typing into the path field.
    click(window, IDC_BROWSE);
    clickToClose(w.waitForOwnedBy(window), IDCANCEL);
    SendMessageW(GetDlgItem(window, IDC_FILEPATH), WM_CHAR, L'x', 1);
    EXPECT_EQ(text(window, IDC_FILEPATH), other);
    EXPECT_EQ(text(window, IDC_RESULT), L"FAIL : F = 1.2104");
    click(window, IDCANCEL);
}

TEST(FileDialog, ChoosesTheListThatCalculateReads) {
    const TemporaryFolder folder;
    folder.write("list.ASC", "1000,100\n");
    folder.write("other.asc", "1000,120\n");
    CAmbersel_TestDlg dialog;
    run(dialog, [&](const WindowDriver& w, HWND window) {
        chooseAndCalculate(w, window, folder.path().wstring() + L"\\");
    });
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

// Calculate gives a line, then fails; the failure is shown in a message box with only an OK
// button, the line is left blank, and the next Calculate works again.
TEST(CalculateFailure, IsReportedAndTheDialogGoesOn) {
    for (const auto& [secondRun, message, iconName] :
         std::initializer_list<std::tuple<CAmbersel_TestDlg::Calculation, const wchar_t*, LPCWSTR>>{
             {[](auto) { return CalculationOutcome::openFailure(); }, L"Error in the input file",
              IDI_WARNING},
             {[](auto) -> CalculationOutcome { throw std::runtime_error("disk on fire"); },
              L"The command could not be completed: disk on fire", IDI_ERROR},
             {[](auto) -> CalculationOutcome { throw std::bad_alloc(); },
              L"The command could not be completed: there is not enough memory.", IDI_ERROR},
             {[](auto) -> CalculationOutcome { throw 42; },
              L"The command could not be completed because of an unexpected error.", IDI_ERROR}}) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(message)));
        int runs = 0;
        CAmbersel_TestDlg dialog(passing(runs, secondRun));
        run(dialog, [&](const WindowDriver& w, HWND window) {
            calculate(window, kPassLine);
            click(window, IDOK);
            const HWND box = w.waitForOwnedBy(window);
            EXPECT_EQ(staticTexts(box), std::vector<std::wstring>{message});
            const HWND cancel = GetDlgItem(box, IDCANCEL);
            EXPECT_TRUE(cancel == nullptr || !IsWindowVisible(cancel)) << "more than an OK button";
            const auto icon = reinterpret_cast<LRESULT>(LoadIconW(nullptr, iconName));
            bool iconShown = false;
            for (HWND child = GetWindow(box, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                iconShown |= SendMessageW(child, STM_GETICON, 0, 0) == icon;
            }
            EXPECT_TRUE(iconShown) << "the icon";
            EXPECT_EQ(text(window, IDC_RESULT), L"") << "the earlier line is still shown";
            clickToClose(box, IDOK);
            calculate(window, kPassLine);
            click(window, IDCANCEL);
        });
        EXPECT_EQ(runs, 3);
    }
}

}  // namespace
}  // namespace ambersel::testing
