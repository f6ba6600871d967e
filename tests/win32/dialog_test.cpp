// The main dialog as the operator meets it on Windows: its icons and focus, keys, the file dialog,
// Calculate, and the message boxes of its failures. Every test runs its own dialog; a second thread
// drives it.

#include <windows.h>
// After windows.h, on which it builds.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "tests/test_files.h"
#include "tests/win32/modal_driver.h"
#include "win32/ui/ambersel_test_dlg.h"
#include "win32/ui/resource.h"

namespace ambersel::testing {
namespace {

constexpr const wchar_t* kCaption = L"Ambersel Test Calculator (R&S file format)";
constexpr const wchar_t* kPassLine = L"PASS : F = 0.1210";

// A Calculate command that counts its runs and gives the pass line, except where `failure` (if
// set) takes over the second run.
struct FakeCalculation {
    int runs = 0;
    std::function<CalculationOutcome()> failure;

    CAmbersel_TestDlg::Calculation command() {
        return [this](std::u16string_view) {
            return ++runs == 2 && failure
                       ? failure()
                       : CalculationOutcome::withResultLine(u"PASS : F = 0.1210");
        };
    }
};

void calculateAndWaitForLine(HWND dialog, const std::wstring& line) {
    WindowDriver::click(dialog, IDOK);
    WindowDriver::waitUntil([&] { return WindowDriver::itemText(dialog, IDC_RESULT) == line; },
                            "the result line");
}

struct KeyRow {
    const char* name;
    int focus;  // the control that has the focus when the key is pressed
    UINT key;
    enum Effect { Calculates, OpensTheFileDialog, ClosesTheDialog } effect;
};

class Keys : public ::testing::TestWithParam<KeyRow> {};

TEST_P(Keys, ActAsTheOperatorExpects) {
    const KeyRow& row = GetParam();
    FakeCalculation calculation;
    CAmbersel_TestDlg dialog(calculation.command());
    const INT_PTR result = runModal(
        [&] { return dialog.DoModal(); },
        [&](const WindowDriver& w) {
            const HWND window = w.waitForDialogCaptioned(kCaption);
            w.pressOn(window, row.focus, row.key);
            if (row.effect == KeyRow::ClosesTheDialog) {
                return;
            }
            if (row.effect == KeyRow::Calculates) {
                WindowDriver::waitUntil(
                    [&] { return WindowDriver::itemText(window, IDC_RESULT) == kPassLine; },
                    "the result line");
            } else {
                WindowDriver::click(w.waitForDialogOwnedBy(window), IDCANCEL);
            }
            EXPECT_TRUE(IsWindowVisible(window)) << "the dialog closed";
            WindowDriver::click(window, IDCANCEL);
        });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(calculation.runs, row.effect == KeyRow::Calculates ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    OnTheDialog, Keys,
    ::testing::Values(
        KeyRow{"enter_on_calculate_calculates", IDOK, VK_RETURN, KeyRow::Calculates},
        KeyRow{"enter_in_the_path_field_presses_the_default_button", IDC_FILEPATH, VK_RETURN,
               KeyRow::Calculates},
        KeyRow{"enter_on_file_presses_file", IDC_BROWSE, VK_RETURN, KeyRow::OpensTheFileDialog},
        KeyRow{"enter_on_cancel_presses_cancel", IDCANCEL, VK_RETURN, KeyRow::ClosesTheDialog},
        KeyRow{"escape_closes_from_anywhere", IDC_FILEPATH, VK_ESCAPE, KeyRow::ClosesTheDialog}),
    [](const ::testing::TestParamInfo<KeyRow>& info) { return info.param.name; });

// The file name box of the platform's file dialog: edt1, or the edit inside cmb13 on newer systems.
HWND fileNameBox(HWND fileDialog) {
    if (const HWND edit = GetDlgItem(fileDialog, 0x480); edit != nullptr) {
        return edit;
    }
    const HWND combo = GetDlgItem(fileDialog, 0x47C);
    if (combo != nullptr && WindowDriver::className(combo) == WC_COMBOBOXEXW) {
        return reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0));
    }
    return combo == nullptr ? nullptr : FindWindowExW(combo, nullptr, L"Edit", nullptr);
}

// Presses File, types `name` into the file dialog's name box and presses its Open button.
void chooseFile(const WindowDriver& w, HWND dialog, const std::wstring& name) {
    WindowDriver::click(dialog, IDC_BROWSE);
    const HWND fileDialog = w.waitForDialogOwnedBy(dialog);
    const HWND box = fileNameBox(fileDialog);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowDriver::itemText(fileDialog, 0x470), L"Frequency-Level list (*.ASC)");
    const HWND readOnly = GetDlgItem(fileDialog, 0x410);
    EXPECT_TRUE(readOnly == nullptr || !IsWindowVisible(readOnly)) << "a read-only check box";
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    WindowDriver::click(fileDialog, IDOK);
    WindowDriver::waitUntilClosed(fileDialog);
}

// Checks the dialog's focus and icons, chooses the lists in `folder` and calculates them, then
// closes the dialog.
void chooseAndCalculate(const WindowDriver& w, const std::wstring& folder) {
    const HWND window = w.waitForDialogCaptioned(kCaption);
    EXPECT_EQ(w.focus(), GetDlgItem(window, IDOK)) << "the focus starts on Calculate";
    const auto icon = reinterpret_cast<LRESULT>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0,
                   LR_DEFAULTSIZE | LR_SHARED));
    EXPECT_NE(icon, 0);
    EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_BIG, 0), icon);
    EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), icon);
    EXPECT_EQ(SendMessageW(window, WM_QUERYDRAGICON, 0, 0), icon);

    // A name typed without extension gets ".ASC" (Wine writes it in lower case).
    chooseFile(w, window, folder + L"list");
    const std::wstring chosen = WindowDriver::itemText(window, IDC_FILEPATH);
    EXPECT_EQ(_wcsicmp(chosen.c_str(), (folder + L"list.ASC").c_str()), 0) << chosen;
    EXPECT_EQ(WindowDriver::itemText(window, IDC_RESULT), L"");
    calculateAndWaitForLine(window, kPassLine);

    // Another list: the earlier line stays until the next Calculate.
    const std::wstring other = folder + L"other.asc";
    chooseFile(w, window, other);
    EXPECT_EQ(WindowDriver::itemText(window, IDC_FILEPATH), other);
    EXPECT_EQ(WindowDriver::itemText(window, IDC_RESULT), kPassLine);
    calculateAndWaitForLine(window, L"FAIL : F = 1.2104");

    // Cancelling the file dialog changes nothing; nor does typing into the path field.
    WindowDriver::click(window, IDC_BROWSE);
    WindowDriver::click(w.waitForDialogOwnedBy(window), IDCANCEL);
    WindowDriver::waitUntil([&] { return w.dialogs().size() == 1; }, "the file dialog closed");
    SendMessageW(GetDlgItem(window, IDC_FILEPATH), WM_CHAR, L'x', 1);
    EXPECT_EQ(WindowDriver::itemText(window, IDC_FILEPATH), other);
    EXPECT_EQ(WindowDriver::itemText(window, IDC_RESULT), L"FAIL : F = 1.2104");
    WindowDriver::click(window, IDCANCEL);
}

TEST(FileDialog, ChoosesTheListThatCalculateReads) {
    const TemporaryFolder folder;
    folder.write("list.ASC", "1000,100\n");
    folder.write("other.asc", "1000,120\n");
    CAmbersel_TestDlg dialog;
    runModal(
        [&] { return dialog.DoModal(); },
        [&](const WindowDriver& w) { chooseAndCalculate(w, folder.path().wstring() + L"\\"); });
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

struct FailureRow {
    const char* name;
    std::function<CalculationOutcome()> secondRun;
    std::wstring message;
    LPCWSTR icon;
};

void PrintTo(const FailureRow& row, std::ostream* out) {
    *out << row.name;
}

class CalculateFailure : public ::testing::TestWithParam<FailureRow> {};

// Calculate gives a line, then fails; the failure is shown in a message box with only an OK
// button, the line is left blank, and the next Calculate works again.
TEST_P(CalculateFailure, IsReportedAndTheDialogGoesOn) {
    const FailureRow& row = GetParam();
    FakeCalculation calculation{0, row.secondRun};
    CAmbersel_TestDlg dialog(calculation.command());
    runModal([&] { return dialog.DoModal(); },
             [&](const WindowDriver& w) {
                 const HWND window = w.waitForDialogCaptioned(kCaption);
                 calculateAndWaitForLine(window, kPassLine);

                 WindowDriver::click(window, IDOK);
                 const HWND box = w.waitForDialogOwnedBy(window);
                 EXPECT_EQ(WindowDriver::staticTexts(box), std::vector<std::wstring>{row.message});
                 const HWND cancel = GetDlgItem(box, IDCANCEL);
                 EXPECT_TRUE(cancel == nullptr || !IsWindowVisible(cancel))
                     << "more than an OK button";
                 bool iconShown = false;
                 for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
                      child = GetWindow(child, GW_HWNDNEXT)) {
                     iconShown |= SendMessageW(child, STM_GETICON, 0, 0) ==
                                  reinterpret_cast<LRESULT>(LoadIconW(nullptr, row.icon));
                 }
                 EXPECT_TRUE(iconShown) << "the icon";
                 EXPECT_EQ(WindowDriver::itemText(window, IDC_RESULT), L"")
                     << "the earlier line is still shown";
                 WindowDriver::click(box, IDOK);
                 WindowDriver::waitUntilClosed(box);

                 calculateAndWaitForLine(window, kPassLine);
                 WindowDriver::click(window, IDCANCEL);
             });
    EXPECT_EQ(calculation.runs, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CalculateFailure,
    ::testing::Values(
        FailureRow{"file_that_does_not_open", [] { return CalculationOutcome::openFailure(); },
                   L"Error in the input file", IDI_WARNING},
        FailureRow{"exception",
                   []() -> CalculationOutcome { throw std::runtime_error("disk on fire"); },
                   L"The command could not be completed: disk on fire", IDI_ERROR},
        FailureRow{"memory_exhausted", []() -> CalculationOutcome { throw std::bad_alloc(); },
                   L"The command could not be completed: there is not enough memory.", IDI_ERROR},
        FailureRow{"anything_else_thrown", []() -> CalculationOutcome { throw 42; },
                   L"The command could not be completed because of an unexpected error.",
                   IDI_ERROR}),
    [](const ::testing::TestParamInfo<FailureRow>& info) { return info.param.name; });

}  // namespace
}  // namespace ambersel::testing
