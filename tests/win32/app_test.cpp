// Ambersel_Test.exe as the operator starts it: alone in a folder of its own, under any name, with
// or without arguments; and the version record and manifest it carries.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_files.h"
#include "tests/win32/modal_driver.h"

namespace ambersel::testing {
namespace {

constexpr const wchar_t* kCaption = L"Ambersel Test Calculator (R&S file format)";

const std::filesystem::path kBuiltProgram = AMBERSEL_TEST_PROGRAM;

// A process of the test's making, ended when it goes should it still run.
class Process {
  public:
    explicit Process(std::wstring commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &m_info)) {
            throw std::runtime_error("the program did not start");
        }
        CloseHandle(m_info.hThread);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_info.hProcess, 99);
        }
        CloseHandle(m_info.hProcess);
    }
    DWORD id() const { return m_info.dwProcessId; }
    // The exit status, once the process has ended within ten seconds.
    std::optional<DWORD> exitCode() const {
        DWORD code = 0;
        if (WaitForSingleObject(m_info.hProcess, 10000) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(m_info.hProcess, &code)) {
            return std::nullopt;
        }
        return code;
    }

  private:
    PROCESS_INFORMATION m_info{};
};

struct StartRow {
    const char* name;
    std::wstring fileName;
    std::wstring arguments;
    std::wstring messageCaption;  // the program's name
};

class Start : public ::testing::TestWithParam<StartRow> {};

// The program's one dialog opens; Calculate without a file shows the error under the program's
// name; Cancel ends the program, leaving no window behind.
TEST_P(Start, ShowsTheDialogAndEndsWithIt) {
    const TemporaryFolder folder;
    const std::filesystem::path program = folder.path() / GetParam().fileName;
    ASSERT_TRUE(std::filesystem::copy_file(kBuiltProgram, program));
    const Process process(L"\"" + program.wstring() + L"\" " + GetParam().arguments);

    const WindowDriver windows(0, process.id());
    const HWND dialog = windows.waitForDialogCaptioned(kCaption);
    WindowDriver::click(dialog, IDOK);
    const HWND box = windows.waitForDialogOwnedBy(dialog);
    EXPECT_EQ(WindowDriver::text(box), GetParam().messageCaption);
    EXPECT_EQ(WindowDriver::staticTexts(box),
              std::vector<std::wstring>{L"Error in the input file"});
    WindowDriver::click(box, IDOK);
    WindowDriver::waitUntilClosed(box);
    WindowDriver::click(dialog, IDCANCEL);

    EXPECT_EQ(process.exitCode(), 0U);
    EXPECT_TRUE(windows.dialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Programs, Start,
    ::testing::Values(StartRow{"as_built", L"Ambersel_Test.exe", L"", L"Ambersel_Test"},
                      StartRow{"arguments_change_nothing", L"Ambersel_Test.exe",
                               L"--help /S extra.ASC", L"Ambersel_Test"},
                      StartRow{"renamed", L"Pr\u00FCfung \u03A9.exe", L"", L"Pr\u00FCfung \u03A9"}),
    [](const ::testing::TestParamInfo<StartRow>& info) { return info.param.name; });

// A resource of the program, in the given language.
std::string resourceOf(HMODULE module, LPCWSTR type, WORD language) {
    const HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(1), language);
    if (found == nullptr) {
        return {};
    }
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return {bytes, SizeofResource(module, found)};
}

TEST(Program, CarriesItsVersionRecordAndAManifestForCommonControls6) {
    const std::wstring path = kBuiltProgram.wstring();
    std::vector<char> record(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(record.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(record.size()), record.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", &value, &length));
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(
        (std::vector<DWORD>{info->dwFileVersionMS, info->dwFileVersionLS, info->dwProductVersionMS,
                            info->dwProductVersionLS, info->dwFileType}),
        (std::vector<DWORD>{0x00010000U, 1, 0x00010000U, 1, VFT_APP}));
    for (const auto& [key, text] : {std::pair{L"FileVersion", L"0.0.0.1"},
                                    {L"ProductVersion", L"0.0.0.1"},
                                    {L"FileDescription", L"Ambersel Test Calculator"},
                                    {L"ProductName", L"Ambersel Test Calculator"},
                                    {L"InternalName", L"Ambersel_Test.exe"},
                                    {L"OriginalFilename", L"Ambersel_Test.exe"}}) {
        const std::wstring field = std::wstring(L"\\StringFileInfo\\040904e4\\") + key;
        ASSERT_TRUE(VerQueryValueW(record.data(), field.c_str(), &value, &length)) << key;
        EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), text);
    }

    const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_FALSE(resourceOf(module, RT_VERSION, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)).empty());
    const std::string manifest =
        resourceOf(module, RT_MANIFEST, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    FreeLibrary(module);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    // A runtime assembly that is not installed would keep the program from starting at all.
    EXPECT_EQ(manifest.find("<dependency>", manifest.find("<dependency>") + 1), std::string::npos)
        << "more than one dependency";
}

}  // namespace
}  // namespace ambersel::testing
