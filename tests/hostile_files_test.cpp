// Hostile list files: binary junk, numbers a megabyte long, a million blank lines, files cut short
// or changed while read, extreme paths and names, links and sockets. Each must give a clear
// outcome: the points and the stop of the C library's own "%f,%f\n" loop, the file's change, or
// the open failure, at once.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "evaluation/frequency_level_list.h"
#include "files/calculate_command.h"
#include "files/list_file.h"
#include "tests/allocation_hooks.h"
#include "tests/support/scan_format_reference.h"
#include "tests/test_files.h"

namespace ambersel {
namespace {

using testing::bitsOf;
using testing::g_onLargeAllocation;
using testing::TemporaryFolder;
namespace fs = std::filesystem;

constexpr std::size_t kMegabyte = 1'000'000;
// 1 + 2^-24, exactly halfway between 1 and the next float.
constexpr std::string_view kHalfwayAboveOne = "1.000000059604644775390625";

std::string repeated(std::string_view piece, std::size_t count) {
    std::string text;
    while (count-- > 0) {
        text += piece;
    }
    return text;
}

// Bytes from a fixed seed, so that a failure can be replayed.
std::string junk(unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(200'000, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

TEST(HostileContent, GivesThePointsTheCLibraryReads) {
    const std::pair<const char*, std::string> rows[] = {
        {"binary_junk_gives_no_points", '\x80' + junk(1)},
        {"binary_junk_after_points_keeps_them", "1000,100\n\n\x01" + junk(2)},
        {"digit_a_megabyte_after_a_halfway_value_rounds_it_up",
         std::string(kHalfwayAboveOne) + std::string(kMegabyte, '0') + "1,100"},
        {"megabyte_of_leading_zeros_cancelled_by_the_exponent",
         "0." + std::string(kMegabyte, '0') + "1e1000001,100"},
        {"million_blank_lines_before_the_first_point", std::string(kMegabyte, '\n') + "1000,100\n"},
        {"million_blank_lines_then_text_that_is_named_by_its_line",
         "1000,100" + repeated("\r\n", kMegabyte) + "end\n"}};
    for (const auto& [name, content] : rows) {
        SCOPED_TRACE(name);
        const TemporaryFolder folder;
        const ListFileReading reading = readListFile(folder.write("list.ASC", content));
        ASSERT_TRUE(reading.opened()) << reading.openError.message();
        const support::ScanFormatReading expected = support::readTextWithScanFormat(content);
        EXPECT_EQ(bitsOf(reading.points), bitsOf(expected.points));
        EXPECT_TRUE(reading.stop == expected.stop) << "line " << reading.stop.line;
    }
}

TEST(HostileContent, NotANumberFromEitherSignGivesOneLine) {
    // As fuzz/regressions/nans_of_both_signs_meet: which NaN survives the sum must not depend on
    // the build.
    const TemporaryFolder folder;
    const fs::path path = folder.write("list.ASC", "inf,nan\n-INFINITY,-nan\ninfi,1\n");
    EXPECT_EQ(calculateFromPath(path).resultLine(), u"FAIL : F = -nan");
}

constexpr std::size_t kLongListPoints = 200'000;

// A long list whose times lie well in the past, so that the next write changes them whatever the
// grain of the system's clock.
fs::path writeOldLongList(const TemporaryFolder& folder) {
    fs::path path = folder.write("list.ASC", repeated("1000,100\n", kLongListPoints));
    const std::array<timespec, 2> times = {timespec{1'000'000'000, 0}, timespec{1'000'000'000, 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times.data(), 0) != 0) {
        throw std::system_error(errno, std::generic_category(), "utimensat");
    }
    return path;
}

void writeAt(const fs::path& path, const char* mode) {
    const FileHandle file(std::fopen(path.c_str(), mode));
    ASSERT_TRUE(file && std::fputs("1000,120\n", file.get()) >= 0);
}

struct ChangeRow {
    const char* name;
    void (*change)(const fs::path& path);
    bool noticed;  // otherwise the list is the file as it was when opened
};

TEST(FileChangedWhileRead, IsNoticedOrReadAsItWasOpened) {
    for (const ChangeRow& row : {
             ChangeRow{"appended_to", [](const fs::path& path) { writeAt(path, "a"); }, true},
             ChangeRow{"rewritten_in_place_with_the_same_size",
                       [](const fs::path& path) { writeAt(path, "r+"); }, true},
             ChangeRow{"truncated", [](const fs::path& path) { fs::resize_file(path, 0); }, true},
             ChangeRow{"replaced_under_its_name",
                       [](const fs::path& path) {
                           writeAt(path.parent_path() / "new.ASC", "w");
                           fs::rename(path.parent_path() / "new.ASC", path);
                       },
                       false},
         }) {
        SCOPED_TRACE(row.name);
        const TemporaryFolder folder;
        const fs::path path = writeOldLongList(folder);
        // The list outgrows its first blocks long before the file's end: then the other writer
        // strikes.
        g_onLargeAllocation = [&] { row.change(path); };
        const ListFileReading reading = readListFile(path);
        ASSERT_FALSE(std::exchange(g_onLargeAllocation, nullptr)) << "the file did not change";
        ASSERT_TRUE(reading.opened());
        EXPECT_EQ(reading.stop.end, row.noticed ? ReadingEnd::FileChanged : ReadingEnd::EndOfFile);
        if (!row.noticed) {
            EXPECT_EQ(bitsOf(reading.points),
                      bitsOf(FrequencyLevelList(kLongListPoints, {1000, 100})));
        }
    }
}

TEST(FileChangedWhileRead, CommandShowsTheOpenFailureInsteadOfAVerdict) {
    const TemporaryFolder folder;
    const fs::path path = writeOldLongList(folder);
    g_onLargeAllocation = [&] { writeAt(path, "a"); };
    EXPECT_TRUE(calculateFromPath(path).isOpenFailure());
    EXPECT_FALSE(std::exchange(g_onLargeAllocation, nullptr)) << "the file did not change";
}

std::u16string utf16Path(const fs::path& path) {
    return {path.native().begin(), path.native().end()};
}

TEST(ExtremePaths, PathOfFourThousandBytesReads) {
    const TemporaryFolder folder;
    fs::path deep = folder.path();
    while (deep.native().size() < 3800) {
        deep /= std::string(150, 'd');
    }
    deep /= std::string(3990 - deep.native().size(), 'e');
    fs::create_directories(deep);
    writeAt(deep / "list.ASC", "w");
    EXPECT_EQ(calculateFromFile(utf16Path(deep / "list.ASC")).resultLine(), u"FAIL : F = 1.2104");
}

TEST(ExtremePaths, FileNameThatIsNotUtf8ReadsByItsBytes) {
    const TemporaryFolder folder;
    // A Latin-1 "Mess\xFCng" and a lone continuation byte: neither is valid UTF-8.
    const fs::path path = folder.write("Mess\xFCng-\x80.ASC", "1000,120\n");
    EXPECT_EQ(calculateFromPath(path).resultLine(), u"FAIL : F = 1.2104");
    // The dialog's UTF-16 text cannot spell these bytes; what it shows instead names no file, and
    // no look-alike is opened.
    EXPECT_TRUE(
        calculateFromFile(utf16Path(folder.path()) + u"/Mess\u00FCng-\uFFFD.ASC").isOpenFailure());
}

TEST(SpecialFiles, LinkToAFileReadsTheFile) {
    const TemporaryFolder folder;
    fs::create_symlink(folder.write("list.ASC", "1000,100\n"), folder.path() / "link.ASC");
    EXPECT_EQ(bitsOf(readListFile(folder.path() / "link.ASC").points), bitsOf({{1000, 100}}));
}

TEST(SpecialFiles, SocketIsTheOpenFailureAtOnce) {
    const TemporaryFolder folder;
    const fs::path path = folder.path() / "list.ASC";
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    path.native().copy(address.sun_path, sizeof address.sun_path - 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the socket interface's own type.
    const int bound = ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::close(socket);
    ASSERT_EQ(bound, 0);
    EXPECT_EQ(readListFile(path).openError, std::errc::no_such_device_or_address);
}

}  // namespace
}  // namespace ambersel
