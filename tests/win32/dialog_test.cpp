// The main dialog as the operator meets it on Windows: its icons and focus, keys, the file dialog,
// Calculate, the message boxes of its failures, and the Details window of its line. Every test
// runs its own dialog; a second thread drives it.

#include <windows.h>
// After windows.h, on which it builds.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <new>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "results/result_text.h"
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

// The right button, or the keyboard: Shift+F10 or the Menu key, which the platform turns into the
// same message. (Wine does not turn the Menu key into it, so it is not pressed here.)
enum class Asking { RightButton, Keyboard };

// Asks the dialog for its context menu as the operator would, and returns the menu's items; none
// when no menu opened. An open menu is left open.
std::vector<std::wstring> askForMenu(const WindowDriver& w, HWND window, Asking how) {
    RECT line{};
    GetWindowRect(GetDlgItem(window, IDC_RESULT), &line);
    // Where the right button is released, or -1 for the keyboard.
    const LPARAM where = how == Asking::RightButton ? MAKELPARAM(line.left + 5, line.top + 2) : -1;
    DWORD_PTR result = 0;
    // Handled at once: no menu. A menu holds the message until it closes.
    if (SendMessageTimeoutW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), where,
                            SMTO_NORMAL, 1000, &result) != 0) {
        EXPECT_TRUE(w.dialogs(L"#32768").empty());
        return {};
    }
    return w.waitForMenu();
}

// Chooses the open menu's first item with the keyboard.
void chooseFirstItem(const WindowDriver& w) {
    const HWND menu = w.dialogs(L"#32768").front();
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
}

TEST(ContextMenu, OffersDetailsOnlyWhileALineIsShown) {
    enum Before { NoCalculate, CalculateThatFails, CalculateWithALine };
    // What would go wrong; what came before; how the menu is asked for; "Details…" offered.
    for (const auto& [name, before, how, offered] :
         std::initializer_list<std::tuple<const char*, Before, Asking, bool>>{
             {"a menu before any Calculate", NoCalculate, Asking::RightButton, false},
             {"the line of an earlier Calculate outlives a failed one", CalculateThatFails,
              Asking::Keyboard, false},
             {"the right button offers nothing", CalculateWithALine, Asking::RightButton, true},
             {"the keyboard offers nothing", CalculateWithALine, Asking::Keyboard, true}}) {
        SCOPED_TRACE(name);
        int runs = 0;
        CAmbersel_TestDlg dialog(
            passing(runs, [](auto) { return CalculationOutcome::openFailure(); }));
        run(dialog, [&](const WindowDriver& w, HWND window) {
            if (before != NoCalculate) {
                calculate(window, kPassLine);
            }
            if (before == CalculateThatFails) {
                click(window, IDOK);
                clickToClose(w.waitForOwnedBy(window), IDOK);
            }
            const std::vector<std::wstring> items = askForMenu(w, window, how);
            EXPECT_EQ(items, offered ? std::vector<std::wstring>{L"Details\u2026"}
                                     : std::vector<std::wstring>{});
            if (!items.empty()) {
                PostMessageW(w.dialogs(L"#32768").front(), WM_KEYDOWN, VK_ESCAPE, 1);
                waitUntil([&] { return w.dialogs(L"#32768").empty(); }, "the menu to close");
            }
            click(window, IDCANCEL);
        });
    }
}

// Chooses `list`, calculates it, runs `meanwhile` and opens the Details window, which it returns.
HWND openDetails(
    const WindowDriver& w, HWND window, const std::filesystem::path& list,
    const std::function<void()>& meanwhile = [] {}) {
    chooseFile(w, window, list.wstring());
    click(window, IDOK);
    waitUntil([&] { return !text(window, IDC_RESULT).empty(); }, "the result line");
    meanwhile();
    askForMenu(w, window, Asking::Keyboard);
    chooseFirstItem(w);
    return w.waitForOwnedBy(window);
}

// The texts of list view `id`'s heading and rows.
std::vector<std::vector<std::wstring>> listTexts(HWND dialog, int id) {
    const HWND list = GetDlgItem(dialog, id);
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::vector<std::wstring>> texts;
    for (int row = -1; row < rows; ++row) {  // -1: the heading
        texts.emplace_back();
        for (int column = 0; column < columns; ++column) {
            wchar_t cell[256]{};
            if (row < 0) {
                LVCOLUMNW heading{};
                heading.mask = LVCF_TEXT;
                heading.pszText = cell;
                heading.cchTextMax = 256;
                SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&heading));
            } else {
                LVITEMW item{};
                item.iSubItem = column;
                item.pszText = cell;
                item.cchTextMax = 256;
                SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            }
            texts.back().push_back(cell);
        }
    }
    return texts;
}

TEST(Details, ShowsTheListOfTheLine) {
    const TemporaryFolder folder;
    const std::filesystem::path list = folder.write("list.ASC", "150000,30\n20000,60\n1000,100\n");
    CAmbersel_TestDlg dialog;
    run(dialog, [&](const WindowDriver& w, HWND window) {
        // Details shows the list that Calculate read, not the file as it is now.
        const HWND details =
            openDetails(w, window, list, [&] { folder.write("list.ASC", "1000,200\n"); });
        const std::wstring line = text(window, IDC_RESULT);
        EXPECT_EQ(text(details), L"Details: " + list.wstring());
        // In tab order: id, class, text. Where they go is the window's own affair (details_test).
        HWND control = GetWindow(details, GW_CHILD);
        for (const auto& [id, windowClass, caption] :
             std::initializer_list<std::tuple<int, const wchar_t*, const wchar_t*>>{
                 {IDC_DETAILS_LINE, L"Static", nullptr},
                 {IDC_DETAILS_PICTURE, L"Static", L""},
                 {IDC_DETAILS_BANDS_CAPTION, L"Static", L"Where F comes from"},
                 {IDC_DETAILS_BANDS, L"SysListView32", L""},
                 {IDC_DETAILS_CONTRIBUTORS_CAPTION, L"Static", L"Largest contributors"},
                 {IDC_DETAILS_CONTRIBUTORS, L"SysListView32", L""},
                 {IDC_SAVE_REPORT, L"Button", L"Save report\u2026"},
                 {IDCANCEL, L"Button", L"Close"}}) {
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(GetDlgCtrlID(control), id);
            EXPECT_EQ(className(control), windowClass);
            if (caption != nullptr) {
                EXPECT_EQ(text(control), caption);
            }
            control = GetWindow(control, GW_HWNDNEXT);
        }
        EXPECT_EQ(text(details, IDC_DETAILS_LINE).substr(0, line.size()), line);
        using Rows = std::vector<std::vector<std::wstring>>;
        EXPECT_EQ(
            listTexts(details, IDC_DETAILS_BANDS),
            (Rows{{L"Band", L"Points", L"Sum of terms", L"Share of F", L"Margin without the band"},
                  {L"1 kHz - 10 kHz", L"1", L"0.121044", L"99.56%", L"+65.40 dB"},
                  {L"10 kHz - 100 kHz", L"1", L"0.000529647", L"0.44%", L"+18.34 dB"},
                  {L"100 kHz - 1 MHz", L"1", L"7.15415e-06", L"0.01%", L"+18.30 dB"}}));
        EXPECT_EQ(
            listTexts(details, IDC_DETAILS_CONTRIBUTORS),
            (Rows{{L"#", L"Point", L"Frequency", L"Level (dB\u00B5V)", L"Term", L"Share of F"},
                  {L"1", L"3", L"1 kHz", L"100.00", L"0.121044", L"99.56%"},
                  {L"2", L"2", L"20 kHz", L"60.00", L"0.000529647", L"0.44%"},
                  {L"3", L"1", L"150 kHz", L"30.00", L"7.15415e-06", L"0.01%"}}));
        w.pressOn(details, IDC_DETAILS_BANDS, VK_ESCAPE);
        waitUntil([&] { return !IsWindow(details); }, "Esc to close the Details window");
        EXPECT_EQ(text(window, IDC_RESULT), line) << "the main dialog changed";
        click(window, IDCANCEL);
    });
}

TEST(Details, SavesTheReportUnderTheTypedName) {
    // What would go wrong; whether the folder holds a file of that name first; whether the list
    // is written to between Calculate and Details; the name typed; the file that must hold the
    // report.
    for (const auto& [name, earlier, rewritten, typed, saved] :
         std::initializer_list<std::tuple<const char*, bool, bool, const wchar_t*, const wchar_t*>>{
             {"a name typed without extension lacks .html", false, false, L"report",
              L"report.html"},
             {"an earlier report is not replaced", true, false, L"old.html", L"old.html"},
             {"a list written after Calculate is vouched for by the facts of its new bytes", false,
              true, L"report.html", L"report.html"}}) {
        SCOPED_TRACE(name);
        const TemporaryFolder folder;
        const std::filesystem::path list = folder.write("list.ASC", "1000,100\n");
        const std::filesystem::path target = folder.path() / typed;
        if (earlier) {
            folder.write(target.filename(), "earlier");
        }
        CAmbersel_TestDlg dialog;
        run(dialog, [&](const WindowDriver& w, HWND window) {
            const HWND details = openDetails(w, window, list, [&] {
                if (rewritten) {
                    folder.write("list.ASC", "1000,100\n2000,10\n");
                }
            });
            click(details, IDC_SAVE_REPORT);
            const HWND saveDialog = w.waitForOwnedBy(details);
            SendMessageW(fileNameBox(saveDialog), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(target.c_str()));
            click(saveDialog, IDOK);
            if (earlier) {
                clickToClose(w.waitForOwnedBy(saveDialog), IDYES);  // replace it?
            }
            waitUntil([&] { return !IsWindow(saveDialog); }, "the report to be saved");
            // Close closes the window, and the main dialog goes on.
            clickToClose(details, IDCANCEL);
            click(window, IDCANCEL);
        });
        const std::string written = contentOf(folder.path() / saved);
        EXPECT_EQ(written.rfind("<!DOCTYPE html>", 0), 0U) << written.substr(0, 40);
        EXPECT_NE(written.find("PASS : F = 0.1210"), std::string::npos);
        // The SHA-256 of the bytes that Calculate read, or none and why.
        EXPECT_EQ(
            written.find("f11113429a73052f483dd6f784d1f59009929a1860adec46799a1a71e1d7df28") !=
                std::string::npos,
            !rewritten);
        EXPECT_EQ(written.find(kWrittenAfterReading) != std::string::npos, rewritten);
        std::size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            files += entry.is_regular_file() ? 1 : 0;
        }
        EXPECT_EQ(files, 2U) << "a file left behind, or none written";  // the list and the report
    }
}

}  // namespace
}  // namespace ambersel::testing
