// The core's file opening on Windows: names in any script open as they are, no look-alike is ever
// opened, anything but a regular file that is free to read is refused at once, and a list is read
// in binary. How a list reads otherwise is the same on every system and tested with the core.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>

#include "files/calculate_command.h"
#include "files/list_file.h"
#include "files/windows_path.h"
#include "tests/test_files.h"

namespace ambersel::testing {
namespace {

// A handle of the test's own, closed when it goes.
using OwnHandle = std::unique_ptr<void, decltype([](HANDLE handle) {
                                      if (handle != INVALID_HANDLE_VALUE) {
                                          CloseHandle(handle);
                                      }
                                  })>;

CalculationOutcome calculate(const std::wstring& path) {
    return calculateFromFile(std::u16string(path.begin(), path.end()));
}

TEST(Refused, AtOnceWithTheOpenFailure) {
    const std::wstring pipeName =
        L"\\\\.\\pipe\\ambersel-list-test-" + std::to_wstring(GetCurrentProcessId());
    const std::error_code missing = std::make_error_code(std::errc::no_such_file_or_directory);
    const std::error_code notAFile = ListFileError::NotARegularFile;
    // What would be opened; the path, "@" for the test's folder, which holds list.ASC and a.ASC;
    // the reason given, none where it depends on the machine; list.ASC held open by another
    // program for this access, if not 0, sharing only this.
    for (const auto& [name, pattern, error, heldAccess, heldShare] : std::initializer_list<
             std::tuple<const char*, std::wstring, std::error_code, DWORD, DWORD>>{
             {"missing file", L"@\\none.ASC", missing, 0, 0},
             {"folder", L"@", notAFile, 0, 0},
             {"null device", L"NUL", notAFile, 0, 0},
             {"console", L"CON", {}, 0, 0},
             {"serial port", L"COM1", {}, 0, 0},
             {"device name with an extension", L"@\\NUL.ASC", {}, 0, 0},
             {"pipe", pipeName, notAFile, 0, 0},
             {"file another program is writing", L"@\\list.ASC", ListFileError::InUse,
              GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
             {"file another program holds alone", L"@\\list.ASC", ListFileError::InUse,
              GENERIC_READ, 0},
             // Converted to code page 1252, U+0101 would become "a".
             {"a look-alike of a name without its file", L"@\\\u0101.ASC", missing, 0, 0}}) {
        SCOPED_TRACE(name);
        const TemporaryFolder folder;
        const auto list = folder.write("list.ASC", "1000,100\n");
        folder.write("a.ASC", "1000,100\n");
        const OwnHandle held(heldAccess == 0 ? INVALID_HANDLE_VALUE
                                             : CreateFileW(list.c_str(), heldAccess, heldShare,
                                                           nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(heldAccess == 0 || held.get() != INVALID_HANDLE_VALUE);
        const OwnHandle pipe(CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE,
                                              1, 0, 0, 0, nullptr));
        ASSERT_NE(pipe.get(), INVALID_HANDLE_VALUE);
        const std::wstring path =
            pattern.starts_with(L"@") ? folder.path().native() + pattern.substr(1) : pattern;
        EXPECT_TRUE(calculate(path).isOpenFailure());
        const ListFileReading reading = readListFile(path);
        EXPECT_FALSE(reading.opened());
        if (error) {
            EXPECT_EQ(reading.openError, error) << reading.openError.message();
        }
    }
}

// Each list is read in binary: a Ctrl-Z is junk like any other byte, not the end of the file.
TEST(Names, OpenAsTheyAre) {
    const std::wstring d100(100, L'd');
    for (const std::wstring& name : std::initializer_list<std::wstring>{
             L"Messung_\u00C4_\u039C\u03AD\u0418\u0437_\u6E2C\u5B9A.ASC", L"\U0001F4C8.ASC",
             std::wstring(120, L'\u00E9') + L".ASC",
             // Longer than the classic path limit: Windows opens it only in the long-path form;
             // Wine opens it either way, so only Windows sees that form missing.
             d100 + L"\\" + d100 + L"\\" + d100 + L"\\" + d100 + L"\\list.ASC"}) {
        const TemporaryFolder folder;
        // The long-path form makes any name on every Windows.
        const std::wstring path = L"\\\\?\\" + (folder.path() / name).native();
        SCOPED_TRACE(::testing::PrintToString(path));
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        OwnHandle file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        const std::string_view bytes = "1000,100\r\n\x1A\r\n1000,100\r\n";
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), bytes.data(), bytes.size(), &written, nullptr));
        file.reset();
        const CalculationOutcome outcome = calculate((folder.path() / name).native());
        EXPECT_EQ(outcome.resultLine(), u"PASS : F = 0.1210");
        EXPECT_EQ(outcome.list().analysis.stop.end, ReadingEnd::MalformedItem)
            << "text mode stops at the Ctrl-Z";
    }
}

// Wine does not keep a locked range from being read; on Windows this checks that such a read is
// an error, not the end of the list.
TEST(Reading, OfBytesAnotherProgramLockedIsAReadErrorNotAVerdict) {
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) {
        GTEST_SKIP() << "Wine does not keep a locked range from being read";
    }
    const TemporaryFolder folder;
    const auto path = folder.write("list.ASC", "1000,100\n1000,100\n");
    const OwnHandle locker(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    OVERLAPPED from{};
    ASSERT_TRUE(LockFileEx(locker.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 4,
                           0, &from));
    EXPECT_EQ(readListFile(path).stop.end, ReadingEnd::ReadError);
    EXPECT_TRUE(calculate(path).isOpenFailure());
    UnlockFileEx(locker.get(), 0, 4, 0, &from);
    EXPECT_EQ(calculate(path).resultLine(), u"PASS : F = 0.2421");
}

TEST(LongPaths, TakeTheirLongFormAndShortOnesStayAsTheyAre) {
    const std::wstring folder(250, L'f');
    const struct {
        const char* name;
        std::wstring path, expected;
    } rows[] = {
        {"a short path stays", L"C:\\lab\\list.ASC", L"C:\\lab\\list.ASC"},
        {"a relative short path stays", L"list.ASC", L"list.ASC"},
        {"a long path takes the long form", L"C:\\" + folder + L"\\list.ASC",
         L"\\\\?\\C:\\" + folder + L"\\list.ASC"},
        {"a long path is made full, its dots resolved, its slashes turned",
         L"C:/" + folder + L"/x/../list.ASC", L"\\\\?\\C:\\" + folder + L"\\list.ASC"},
        {"a long network path takes the UNC long form",
         L"\\\\server\\share\\" + folder + L"\\list.ASC",
         L"\\\\?\\UNC\\server\\share\\" + folder + L"\\list.ASC"},
        {"a long path already in the long form stays", L"\\\\?\\C:\\" + folder + L"\\list.ASC",
         L"\\\\?\\C:\\" + folder + L"\\list.ASC"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(extendedLengthPath(row.path), row.expected) << row.name;
    }
}

}  // namespace
}  // namespace ambersel::testing
