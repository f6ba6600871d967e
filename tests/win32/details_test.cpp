// The Details window as the engineer meets it on screens of any DPI: laid out for the room it has,
// every row and column of its tables whole, its picture filling its place and following the
// monitor's DPI; and the Save dialog it opens in the user's Documents. Every row opens a window of
// its own; a second thread drives it.

#include <windows.h>
// After windows.h, on which they build.
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plot/layout/spectrum_chart.h"
#include "report/list_record.h"
#include "tests/test_files.h"
#include "tests/win32/modal_driver.h"
#include "win32/framework/window_dpi.h"
#include "win32/ui/details_dlg.h"
#include "win32/ui/resource.h"

namespace ambersel::testing {
namespace {

// Runs the Details window of `points`, read from the list `name`, while `script` drives it.
void runDetails(const std::string& name, const FrequencyLevelList& points,
                const std::function<void(const WindowDriver&, HWND)>& script) {
    const EvaluatedList list = evaluatedList(name, points, {}, recordScope());
    plot::Chart chart = plot::spectrumChart({"list.ASC", &list.analysis});
    CDetailsDlg details(report::recordOf(list), std::move(chart),
                        report::ReportHeading{"1.0.0", {}}, nullptr);
    runModal([&] { return details.DoModal(); },
             [&](const WindowDriver& w) {
                 script(w, w.waitFor([](HWND window) {
                     return text(window).rfind(L"Details: ", 0) == 0;
                 }));
             });
}

// The em of the font `window` draws its text in, in pixels.
int emOf(HWND window) {
    return win32::measuresOf(win32::fontOf(window)).emPixels;
}

// How many pixels of the right sixth of `picture`, as the screen shows it, are not white.
int inkAtTheRightOf(HWND picture) {
    RECT box{};
    GetClientRect(picture, &box);
    const HDC dc = GetDC(picture);
    int ink = 0;
    for (LONG x = box.right * 5 / 6; x < box.right; x += 2) {
        for (LONG y = 0; y < box.bottom; y += 2) {
            const COLORREF colour = GetPixel(dc, x, y);
            ink += colour != CLR_INVALID && colour != RGB(255, 255, 255) ? 1 : 0;
        }
    }
    ReleaseDC(picture, dc);
    return ink;
}

// The window's controls, in tab order.
std::vector<HWND> controlsOf(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        controls.push_back(control);
    }
    return controls;
}

RECT placeOf(HWND control) {
    RECT placed{};
    GetWindowRect(control, &placed);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&placed), 2);
    return placed;
}

// What goes wrong when the window does not lay itself out for its size and font.
void expectLaidOut(HWND details) {
    RECT client{};
    GetClientRect(details, &client);
    const std::vector<HWND> controls = controlsOf(details);
    EXPECT_EQ(controls.size(), 8U);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(GetDlgCtrlID(controls[i]));
        const RECT box = placeOf(controls[i]);
        RECT inside{};
        EXPECT_TRUE(IntersectRect(&inside, &box, &client) && EqualRect(&inside, &box))
            << "a control reaches beyond the window";
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const RECT other = placeOf(controls[j]);
            RECT common{};
            EXPECT_FALSE(IntersectRect(&common, &box, &other))
                << "overlaps " << GetDlgCtrlID(controls[j]);
        }
    }
    const RECT picture = placeOf(GetDlgItem(details, IDC_DETAILS_PICTURE));
    EXPECT_EQ(picture.left, client.right - picture.right) << "an empty field beside the picture";
    EXPECT_GT(picture.bottom - picture.top, (client.bottom - client.top) / 3)
        << "the picture left without room";
    waitUntil([&] { return inkAtTheRightOf(GetDlgItem(details, IDC_DETAILS_PICTURE)) > 0; },
              "the picture's right side to be drawn on");
    for (const int id : {IDC_DETAILS_BANDS, IDC_DETAILS_CONTRIBUTORS}) {
        SCOPED_TRACE(id);
        const HWND list = GetDlgItem(details, id);
        const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        LONG columns = 0;
        for (int column = 0; column < SendMessageW(header, HDM_GETITEMCOUNT, 0, 0); ++column) {
            columns += static_cast<LONG>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
        }
        RECT shown{};
        GetClientRect(list, &shown);
        EXPECT_LE(columns, shown.right) << "a column hidden behind the edge";
        const auto style = GetWindowLongPtrW(list, GWL_STYLE);
        EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), 0) << "a scroll bar";
        EXPECT_GE(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0),
                  SendMessageW(list, LVM_GETITEMCOUNT, 0, 0))
            << "a row hidden below the edge";
        EXPECT_EQ(emOf(list), emOf(GetDlgItem(details, IDC_DETAILS_LINE)))
            << "the table's font is not the window's";
    }
}

// Sends `details` what the system sends a window moved from a monitor of `from` DPI to one of
// `dpi`: the new DPI and a place of the same size in inches.
void moveToDpi(HWND details, UINT from, UINT dpi) {
    RECT proposed{};
    GetWindowRect(details, &proposed);
    const auto scaled = [&](LONG length) {
        return MulDiv(length, static_cast<int>(dpi), static_cast<int>(from));
    };
    proposed.right = proposed.left + scaled(proposed.right - proposed.left);
    proposed.bottom = proposed.top + scaled(proposed.bottom - proposed.top);
    SendMessageW(details, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&proposed));
    EXPECT_NEAR(emOf(GetDlgItem(details, IDC_DETAILS_BANDS)), MulDiv(8, dpi, 72), 1)
        << "the font did not follow the DPI";
    RECT placed{};
    GetWindowRect(details, &placed);
    EXPECT_TRUE(placed.left == proposed.left && placed.top == proposed.top)
        << "the window is not where the system proposed";
}

TEST(Details, FitTheirWindowAndFollowTheMonitorsDpi) {
    const FrequencyLevelList points = emissionScan();
    // `details` changed as the user or the system would; what the change must have brought.
    const struct Row {
        const char* name;
        std::function<void(HWND details)> change;
    } rows[] = {
        {"as it opens", [](HWND) {}},
        {"maximised",
         [](HWND details) {
             RECT before{};
             GetClientRect(details, &before);
             SendMessageW(details, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
             // The system may finish a maximising later.
             waitUntil(
                 [&] {
                     RECT after{};
                     GetClientRect(details, &after);
                     return IsZoomed(details) && after.right > before.right &&
                            placeOf(GetDlgItem(details, IDCANCEL)).right > before.right;
                 },
                 "the window to be maximised");
         }},
        {"made as small as it goes",
         [](HWND details) {
             SetWindowPos(details, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
         }},
        {"moved to a monitor of two thirds the DPI",
         [](HWND details) {
             const UINT dpi = win32::windowDpi(details);
             moveToDpi(details, dpi, dpi * 2 / 3);
         }},
        {"moved there and back",
         [](HWND details) {
             const UINT dpi = win32::windowDpi(details);
             moveToDpi(details, dpi, dpi * 2 / 3);
             moveToDpi(details, dpi * 2 / 3, dpi);
         }},
    };
    for (const Row& row : rows) {
        runDetails(
            "C:\\Lists\\emission_150k_30M.ASC", points,
            [&](const WindowDriver& /*w*/, HWND details) {
                // The script's own thread traces.
                SCOPED_TRACE(row.name);
                EXPECT_EQ(emOf(details), MulDiv(8, static_cast<int>(win32::windowDpi(details)), 72))
                    << "the window's font is not at the screen's DPI";
                row.change(details);
                expectLaidOut(details);
                clickToClose(details, IDCANCEL);
            });
    }
}

// The user's Documents folder, as the system names it.
std::wstring documentsFolder() {
    PWSTR found = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DEFAULT, nullptr, &found))) {
        folder = found;
    }
    CoTaskMemFree(found);
    return folder;
}

TEST(Details, ProposeTheReportInDocumentsUnderTheListsName) {
    const FrequencyLevelList points{{150e3, 40}, {1e6, 50}};
    // What would go wrong; the list's path; the name proposed.
    const struct Row {
        const char* name;
        const char* list;
        const wchar_t* proposed;
    } rows[] = {
        {"the list's own folder proposed, or its name", "C:\\Lists\\emission_150k_30M.ASC",
         L"emission_150k_30M-report.pdf"},
        {"more than the last extension cut off",
         "D:\\Pr\xC3\xBC"
         "fung\\unit 7.2024-03.asc",
         L"unit 7.2024-03-report.pdf"},
        {"a name without an extension lost", "\\\\lab\\share\\scan", L"scan-report.pdf"},
    };
    const std::wstring documents = documentsFolder();
    ASSERT_FALSE(documents.empty());
    for (const Row& row : rows) {
        runDetails(row.list, points, [&](const WindowDriver& w, HWND details) {
            SCOPED_TRACE(row.name);
            click(details, IDC_SAVE_REPORT);
            const HWND saveDialog = w.waitForOwnedBy(details);
            std::array<wchar_t, MAX_PATH> folder{};
            std::array<wchar_t, MAX_PATH> name{};
            SendMessageW(saveDialog, CDM_GETFOLDERPATH, folder.size(),
                         reinterpret_cast<LPARAM>(folder.data()));
            SendMessageW(saveDialog, CDM_GETSPEC, name.size(),
                         reinterpret_cast<LPARAM>(name.data()));
            EXPECT_EQ(_wcsicmp(folder.data(), documents.c_str()), 0)
                << std::wstring(folder.data()) << " instead of " << documents;
            EXPECT_EQ(std::wstring(name.data()), row.proposed);
            clickToClose(saveDialog, IDCANCEL);
            clickToClose(details, IDCANCEL);
        });
    }
}

}  // namespace
}  // namespace ambersel::testing
