// The core's file opening on Windows: names in any script open as they are, no look-alike is ever
// opened, anything but a regular file that is free to read is refused at once, and a list reads
// byte for byte as on every other system.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "evaluation/calculate_command.h"
#include "evaluation/list_file.h"
#include "tests/test_files.h"

namespace ambersel::testing {
namespace {

// A handle of the test's own, closed when it goes.
class OwnHandle {
  public:
    explicit OwnHandle(HANDLE handle) : m_handle(handle) {}
    OwnHandle(OwnHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, INVALID_HANDLE_VALUE)) {}
    OwnHandle(const OwnHandle&) = delete;
    OwnHandle& operator=(const OwnHandle&) = delete;
    OwnHandle& operator=(OwnHandle&&) = delete;
    ~OwnHandle() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(m_handle);
        }
    }
    HANDLE get() const { return m_handle; }

  private:
    HANDLE m_handle;
};

std::u16string utf16(const std::filesystem::path& path) {
    const std::wstring& native = path.native();
    return {native.begin(), native.end()};
}

OwnHandle openedElsewhere(const std::filesystem::path& path, DWORD access, DWORD share) {
    return OwnHandle(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
}

struct RefusalRow {
    const char* name;
    // Makes what is to be refused in `folder` and returns its path. `keep` holds what must stay
    // open meanwhile.
    std::function<std::u16string(const TemporaryFolder& folder, std::vector<OwnHandle>& keep)> path;
    std::error_code error;  // the reason given; none where it depends on the machine
};

void PrintTo(const RefusalRow& row, std::ostream* out) {
    *out << row.name;
}

class Refused : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(Refused, AtOnceWithTheOpenFailure) {
    const TemporaryFolder folder;
    std::vector<OwnHandle> keep;
    const std::u16string path = GetParam().path(folder, keep);
    EXPECT_TRUE(calculateFromFile(path).isOpenFailure());
    const ListFileReading reading =
        readListFile(std::filesystem::path(std::wstring(path.begin(), path.end())));
    EXPECT_FALSE(reading.opened());
    if (GetParam().error) {
        EXPECT_EQ(reading.openError, GetParam().error) << reading.openError.message();
    }
}

const std::error_code kMissing = std::make_error_code(std::errc::no_such_file_or_directory);

INSTANTIATE_TEST_SUITE_P(
    Paths, Refused,
    ::testing::Values(
        RefusalRow{"no_file_chosen", [](auto&, auto&) { return std::u16string(); }, kMissing},
        RefusalRow{"missing_file",
                   [](const TemporaryFolder& f, auto&) { return utf16(f.path() / "none.ASC"); },
                   kMissing},
        RefusalRow{"folder", [](const TemporaryFolder& f, auto&) { return utf16(f.path()); },
                   ListFileError::NotARegularFile},
        RefusalRow{"null_device", [](auto&, auto&) { return std::u16string(u"NUL"); },
                   ListFileError::NotARegularFile},
        RefusalRow{"console", [](auto&, auto&) { return std::u16string(u"CON"); }, {}},
        RefusalRow{"serial_port", [](auto&, auto&) { return std::u16string(u"COM1"); }, {}},
        RefusalRow{"device_name_with_an_extension",
                   [](const TemporaryFolder& f, auto&) { return utf16(f.path() / "NUL.ASC"); },
                   {}},
        RefusalRow{"pipe",
                   [](const TemporaryFolder&, std::vector<OwnHandle>& keep) {
                       const std::wstring name =
                           L"\\\\.\\pipe\\ambersel-test-" + std::to_wstring(GetCurrentProcessId());
                       keep.emplace_back(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX,
                                                          PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr));
                       EXPECT_NE(keep.back().get(), INVALID_HANDLE_VALUE);
                       return std::u16string(name.begin(), name.end());
                   },
                   ListFileError::NotARegularFile},
        RefusalRow{"file_another_program_is_writing",
                   [](const TemporaryFolder& f, std::vector<OwnHandle>& keep) {
                       const auto path = f.write("list.ASC", "1000,100\n");
                       keep.push_back(openedElsewhere(path, GENERIC_WRITE,
                                                      FILE_SHARE_READ | FILE_SHARE_WRITE));
                       return utf16(path);
                   },
                   ListFileError::InUse},
        RefusalRow{"file_another_program_holds_exclusively",
                   [](const TemporaryFolder& f, std::vector<OwnHandle>& keep) {
                       const auto path = f.write("list.ASC", "1000,100\n");
                       keep.push_back(openedElsewhere(path, GENERIC_READ, 0));
                       return utf16(path);
                   },
                   ListFileError::InUse},
        RefusalRow{"nul_in_the_path_must_not_open_the_name_before_it",
                   [](const TemporaryFolder& f, auto&) {
                       return utf16(f.write("good.ASC", "1000,100\n")) + u'\0' + u"junk";
                   },
                   ListFileError::NulInPath},
        RefusalRow{"a_name_without_its_file_never_opens_a_look_alike",
                   [](const TemporaryFolder& f, auto&) {
                       // Converted to code page 1252, U+0101 would become "a".
                       f.write("a.ASC", "1000,100\n");
                       return utf16(f.path()) + u"\\\u0101.ASC";
                   },
                   kMissing}),
    [](const ::testing::TestParamInfo<RefusalRow>& info) { return info.param.name; });

struct NameRow {
    const char* name;
    std::u16string fileName;
};

class Names : public ::testing::TestWithParam<NameRow> {};

TEST_P(Names, OpenInAnyScript) {
    const TemporaryFolder folder;
    const std::u16string& name = GetParam().fileName;
    const std::filesystem::path path = folder.path() / std::wstring(name.begin(), name.end());
    {
        const OwnHandle created(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_NE(created.get(), INVALID_HANDLE_VALUE) << "the system cannot make this name";
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(created.get(), "1000,100\r\n", 10, &written, nullptr));
    }
    EXPECT_EQ(calculateFromFile(utf16(path)).resultLine(), u"PASS : F = 0.1210");
}

INSTANTIATE_TEST_SUITE_P(
    Files, Names,
    ::testing::Values(NameRow{"german", u"Messung_\u00C4_\u00B5V.ASC"},
                      NameRow{"greek", u"\u039C\u03AD\u03C4\u03C1\u03B7\u03C3\u03B7.ASC"},
                      NameRow{"cyrillic", u"\u0418\u0437\u043C\u0435\u0440.ASC"},
                      NameRow{"japanese", u"\u6E2C\u5B9A.ASC"},
                      NameRow{"outside_the_basic_plane", u"\U0001F4C8.ASC"},
                      NameRow{"long_name", std::u16string(120, u'\u00E9') + u".ASC"}),
    [](const ::testing::TestParamInfo<NameRow>& info) { return info.param.name; });

TEST(Names, LongerThanTheClassicPathLimitOpen) {
    const TemporaryFolder folder;
    std::filesystem::path deep = folder.path();
    while (deep.native().size() < 400) {
        deep /= std::wstring(60, L'd');
    }
    // Made through the long-path form, which every Windows accepts.
    std::filesystem::create_directories(L"\\\\?\\" + deep.native());
    const std::filesystem::path list = deep / L"list.ASC";
    {
        const OwnHandle created(CreateFileW((L"\\\\?\\" + list.native()).c_str(), GENERIC_WRITE, 0,
                                            nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_NE(created.get(), INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(created.get(), "1000,120\n", 9, &written, nullptr));
    }
    EXPECT_EQ(calculateFromFile(utf16(list)).resultLine(), u"FAIL : F = 1.2104");
}

struct ContentRow {
    const char* name;
    std::string content;
    std::size_t points;
    ReadingEnd end;
};

class Content : public ::testing::TestWithParam<ContentRow> {};

// Lists are read as bytes: neither a CR LF nor a Ctrl-Z means anything but white space and junk.
TEST_P(Content, ReadsAsOnEveryOtherSystem) {
    const TemporaryFolder folder;
    const ListFileReading reading = readListFile(folder.write("list.ASC", GetParam().content));
    ASSERT_TRUE(reading.opened());
    EXPECT_EQ(reading.points.size(), GetParam().points);
    EXPECT_EQ(reading.stop.end, GetParam().end);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Content,
    ::testing::Values(
        ContentRow{"crlf_line_ends", "150000,60\r\n\r\n30000000,30\r\n", 2, ReadingEnd::EndOfFile},
        ContentRow{"ctrl_z_is_junk_not_the_end", "1000,100\r\n\x1A\r\n1000,100\r\n", 1,
                   ReadingEnd::MalformedItem},
        ContentRow{"lone_carriage_returns", "1000,100\r1000,100\r", 2, ReadingEnd::EndOfFile}),
    [](const ::testing::TestParamInfo<ContentRow>& info) { return info.param.name; });

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
    const OwnHandle locker = openedElsewhere(path, GENERIC_READ, FILE_SHARE_READ);
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
