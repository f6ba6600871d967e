// The core's file opening on Windows: names in any script open as they are, no look-alike is ever
// opened, anything but a regular file that is free to read is refused at once, and a list is read
// in binary. How a list reads otherwise is the same on every system and tested with the core.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "evaluation/calculate_command.h"
#include "evaluation/list_file.h"
#include "tests/test_files.h"

namespace ambersel::testing {
namespace {

struct CloseHandleOnce {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};
// A handle of the test's own, closed when it goes.
using OwnHandle = std::unique_ptr<void, CloseHandleOnce>;

std::u16string utf16(const std::filesystem::path& path) {
    const std::wstring& native = path.native();
    return {native.begin(), native.end()};
}

// Makes the file `path` through the long-path form, which every Windows accepts for any name.
void makeFile(const std::filesystem::path& path, std::string_view bytes) {
    const OwnHandle file(CreateFileW((L"\\\\?\\" + path.native()).c_str(), GENERIC_WRITE, 0,
                                     nullptr, CREATE_NEW, 0, nullptr));
    DWORD written = 0;
    if (file.get() == INVALID_HANDLE_VALUE ||
        !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        throw std::runtime_error("the system cannot make this file");
    }
}

struct RefusalRow {
    const char* name;
    // "@" stands for the test's folder, which holds list.ASC and a.ASC; "#" for the process id,
    // which names the test's pipe.
    std::wstring path;
    std::error_code error;  // the reason given; none where it depends on the machine
    DWORD heldAccess = 0;   // list.ASC opened by another program for this access, if not 0,
    DWORD heldShare = 0;    // sharing only this
};

void PrintTo(const RefusalRow& row, std::ostream* out) {
    *out << row.name;
}

class Refused : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(Refused, AtOnceWithTheOpenFailure) {
    const RefusalRow& row = GetParam();
    const TemporaryFolder folder;
    const auto list = folder.write("list.ASC", "1000,100\n");
    folder.write("a.ASC", "1000,100\n");
    const OwnHandle held(row.heldAccess == 0
                             ? INVALID_HANDLE_VALUE
                             : CreateFileW(list.c_str(), row.heldAccess, row.heldShare, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(row.heldAccess == 0 || held.get() != INVALID_HANDLE_VALUE);
    const std::wstring id = std::to_wstring(GetCurrentProcessId());
    const OwnHandle pipe(CreateNamedPipeW((L"\\\\.\\pipe\\ambersel-list-test-" + id).c_str(),
                                          PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr));
    ASSERT_NE(pipe.get(), INVALID_HANDLE_VALUE);
    std::wstring path = row.path;
    if (path.starts_with(L"@")) {
        path.replace(0, 1, folder.path().native());
    }
    if (path.ends_with(L"#")) {
        path.replace(path.size() - 1, 1, id);
    }
    EXPECT_TRUE(calculateFromFile(std::u16string(path.begin(), path.end())).isOpenFailure());
    const ListFileReading reading = readListFile(path);
    EXPECT_FALSE(reading.opened());
    if (row.error) {
        EXPECT_EQ(reading.openError, row.error) << reading.openError.message();
    }
}

const std::error_code kMissing = std::make_error_code(std::errc::no_such_file_or_directory);

INSTANTIATE_TEST_SUITE_P(
    Paths, Refused,
    ::testing::Values(
        RefusalRow{"missing_file", L"@\\none.ASC", kMissing},
        RefusalRow{"folder", L"@", ListFileError::NotARegularFile},
        RefusalRow{"null_device", L"NUL", ListFileError::NotARegularFile},
        RefusalRow{"console", L"CON", {}}, RefusalRow{"serial_port", L"COM1", {}},
        RefusalRow{"device_name_with_an_extension", L"@\\NUL.ASC", {}},
        RefusalRow{"pipe", L"\\\\.\\pipe\\ambersel-list-test-#", ListFileError::NotARegularFile},
        RefusalRow{"file_another_program_is_writing", L"@\\list.ASC", ListFileError::InUse,
                   GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
        RefusalRow{"file_another_program_holds_exclusively", L"@\\list.ASC", ListFileError::InUse,
                   GENERIC_READ, 0},
        // Converted to code page 1252, U+0101 would become "a".
        RefusalRow{"a_name_without_its_file_never_opens_a_look_alike", L"@\\\u0101.ASC", kMissing}),
    [](const ::testing::TestParamInfo<RefusalRow>& info) { return info.param.name; });

struct NameRow {
    const char* name;
    std::wstring path;  // within the test's folder
};

class Names : public ::testing::TestWithParam<NameRow> {};

// Each list is read in binary: a Ctrl-Z is junk like any other byte, not the end of the file.
TEST_P(Names, OpenAsTheyAre) {
    const TemporaryFolder folder;
    std::filesystem::path path = folder.path() / GetParam().path;
    std::filesystem::create_directories(L"\\\\?\\" + path.parent_path().native());
    makeFile(path, "1000,100\r\n\x1A\r\n1000,100\r\n");
    const CalculationOutcome outcome = calculateFromFile(utf16(path));
    EXPECT_EQ(outcome.resultLine(), u"PASS : F = 0.1210");
    EXPECT_EQ(outcome.stop().end, ReadingEnd::MalformedItem) << "text mode stops at the Ctrl-Z";
}

INSTANTIATE_TEST_SUITE_P(
    Files, Names,
    ::testing::Values(
        NameRow{"in_any_script", L"Messung_\u00C4_\u039C\u03AD\u0418\u0437_\u6E2C\u5B9A.ASC"},
        NameRow{"outside_the_basic_plane", L"\U0001F4C8.ASC"},
        NameRow{"long_name", std::wstring(120, L'\u00E9') + L".ASC"},
        NameRow{"longer_than_the_classic_path_limit",
                std::wstring(100, L'd') + L"\\" + std::wstring(100, L'd') + L"\\" +
                    std::wstring(100, L'd') + L"\\" + std::wstring(100, L'd') + L"\\list.ASC"}),
    [](const ::testing::TestParamInfo<NameRow>& info) { return info.param.name; });

bool runningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(Reading, OfBytesAnotherProgramLockedIsAReadErrorNotAVerdict) {
    if (runningUnderWine()) {
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
    EXPECT_TRUE(calculateFromFile(utf16(path)).isOpenFailure());
    UnlockFileEx(locker.get(), 0, 4, 0, &from);
    EXPECT_EQ(calculateFromFile(utf16(path)).resultLine(), u"PASS : F = 0.2421");
}

}  // namespace
}  // namespace ambersel::testing
