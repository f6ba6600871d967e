// Ambersel_Test.exe as the operator starts it: alone in a folder of its own, under any name, with
// or without arguments; and the manifest it carries.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "tests/test_files.h"
#include "tests/win32/modal_driver.h"

namespace ambersel::testing {
namespace {

const std::filesystem::path kBuiltProgram = AMBERSEL_TEST_PROGRAM;
const std::filesystem::path kBuiltEvaluator = AMBERSEL_TEST_EVALUATOR;

// The program's one dialog opens; Calculate without a file shows the error under the program's
// name; Cancel ends the program, leaving no window behind.
TEST(Start, ShowsTheDialogAndEndsWithIt) {
    // What would go wrong; the program's file name, its arguments, the name it gives itself.
    for (const auto& [name, fileName, arguments, caption] : std::initializer_list<
             std::tuple<const char*, const wchar_t*, const wchar_t*, const wchar_t*>>{
             {"as built", L"Ambersel_Test.exe", L"", L"Ambersel_Test"},
             {"arguments change nothing", L"Ambersel_Test.exe", L"--help /S extra.ASC",
              L"Ambersel_Test"},
             {"renamed", L"Pr\u00FCfung \u03A9.exe", L"", L"Pr\u00FCfung \u03A9"}}) {
        SCOPED_TRACE(name);
        const TemporaryFolder folder;
        const std::filesystem::path program = folder.path() / fileName;
        ASSERT_TRUE(std::filesystem::copy_file(kBuiltProgram, program));
        std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        CloseHandle(process.hThread);
        // Ends the program should it still run, and lets it go.
        const std::unique_ptr<void, decltype([](HANDLE running) {
                                  TerminateProcess(running, 99);
                                  CloseHandle(running);
                              })>
            running(process.hProcess);

        const WindowDriver windows(0, process.dwProcessId);
        const HWND dialog = windows.waitForCaptioned(L"Ambersel Test Calculator (R&S file format)");
        // Version 1 or 2 alike: Wine knows no difference (the test below reads which is asked for).
        EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(dialog)),
                  DPI_AWARENESS_PER_MONITOR_AWARE)
            << "Windows would stretch the dialog as a picture on a screen above 96 DPI";
        click(dialog, IDOK);
        const HWND box = windows.waitForOwnedBy(dialog);
        EXPECT_EQ(text(box), caption);
        EXPECT_EQ(staticTexts(box), std::vector<std::wstring>{L"Error in the input file"});
        clickToClose(box, IDOK);
        click(dialog, IDCANCEL);
        DWORD exitCode = 99;
        WaitForSingleObject(process.hProcess, 10000);
        GetExitCodeProcess(process.hProcess, &exitCode);
        EXPECT_EQ(exitCode, 0U) << "still running: " << (exitCode == STILL_ACTIVE);
        EXPECT_TRUE(windows.dialogs().empty());
    }
}

// A resource of the program, in the given language.
std::string resourceOf(HMODULE module, LPCWSTR type, WORD language) {
    const HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(1), language);
    return found == nullptr
               ? std::string()
               : std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                             SizeofResource(module, found));
}

// The version record is read back by version_records_test.py, with the other program's.
TEST(Program, CarriesAManifestForCommonControls6) {
    const std::wstring path = kBuiltProgram.wstring();
    const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    const std::string manifest =
        resourceOf(module, RT_MANIFEST, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    FreeLibrary(module);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    // A runtime assembly that is not installed would keep the program from starting at all.
    EXPECT_EQ(manifest.find("<dependency>", manifest.find("<dependency>") + 1), std::string::npos)
        << "more than one dependency";
}

// What Windows reads from each program's manifest, through an activation context made of it, as
// it starts the program: a manifest that does not parse keeps the program from starting at all.
TEST(Programs, DeclareThemselvesAwareOfEachMonitorsDpi) {
    for (const std::filesystem::path& program : {kBuiltProgram, kBuiltEvaluator}) {
        SCOPED_TRACE(program.filename().string());
        const std::wstring path = program.wstring();
        ACTCTXW description{};
        description.cbSize = sizeof(description);
        description.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        description.lpSource = path.c_str();
        description.lpResourceName = MAKEINTRESOURCEW(1);
        const HANDLE context = CreateActCtxW(&description);
        ASSERT_NE(context, INVALID_HANDLE_VALUE) << "the manifest does not parse";
        // The settings' namespaces: version 2 came with Windows 10, 2016.
        for (const auto& [space, setting, value] :
             {std::tuple{L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                         L"PerMonitorV2, PerMonitor"},
              {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware",
               L"true/pm"}}) {
            std::array<wchar_t, 64> read{};
            SIZE_T length = 0;
            EXPECT_TRUE(
                QueryActCtxSettingsW(0, context, space, setting, read.data(), read.size(), &length))
                << "no " << setting;
            EXPECT_EQ(std::wstring(read.data()), value);
        }
        ReleaseActCtx(context);
    }
}

}  // namespace
}  // namespace ambersel::testing
