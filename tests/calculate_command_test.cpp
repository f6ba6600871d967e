#include "files/calculate_command.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include "tests/allocation_hooks.h"
#include "tests/test_files.h"

namespace ambersel {
namespace {

using testing::g_allocationsUntilFailure;
using testing::g_liveAllocations;
using testing::TemporaryFolder;

std::u16string utf16(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

TEST(OpenFailure, IsAnsweredAtOnceWithoutAResultLine) {
    const TemporaryFolder folder;
    const std::filesystem::path& dir = folder.path();
    std::filesystem::create_directory_symlink(dir, dir / "dir");
    ASSERT_EQ(::mkfifo((dir / "fifo.ASC").c_str(), 0600), 0);
    for (const char* name : {"good.ASC", "x?.ASC", "x\xEF\xBF\xBD.ASC", "x.ASC"}) {
        folder.write(name, "1000,100\n");
    }
    const std::pair<const char*, std::u16string> rows[] = {
        {"no file chosen", u""},
        {"missing file", utf16(dir / "none.ASC")},
        {"directory", utf16(dir)},
        {"link to a directory", utf16(dir / "dir")},
        {"FIFO without a writer would block a plain open", utf16(dir / "fifo.ASC")},
        {"endless device", u"/dev/zero"},
        {"empty device", u"/dev/null"},
        {"NUL in the path must not open the name before it",
         utf16(dir / "good.ASC") + u'\0' + u"junk"},
        {"lone surrogate must not open a look-alike (x?, x\uFFFD or x)",
         utf16(dir / "x") + u'\xD800' + u".ASC"}};
    for (const auto& [name, path] : rows) {
        const CalculationOutcome outcome = calculateFromFile(path);
        EXPECT_TRUE(outcome.isOpenFailure()) << name;
        EXPECT_TRUE(outcome.resultLine().empty()) << name;
    }
}

TEST(CalculateCommand, FileWithoutReadPermissionIsTheOpenFailure) {
    const TemporaryFolder folder;
    const auto path = folder.write("locked.ASC", "1000,100\n");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    // Root reads any file, so the command runs as an ordinary user in a child process.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0) {
            ::_exit(3);
        }
        ::_exit(calculateFromFile(utf16(path)).isOpenFailure() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(CalculateCommand, OpensNonAsciiPaths) {
    const TemporaryFolder folder;
    const std::string name = "Messung_\xC3\x84_\xC2\xB5V.ASC";
    folder.write(name, "1000,100\n");
    EXPECT_EQ(calculateFromFile(utf16(folder.path()) + u"/Messung_\u00C4_\u00B5V.ASC").resultLine(),
              u"PASS : F = 0.1210");
    // Characters outside the basic plane travel as surrogate pairs.
    folder.write("\xF0\x9F\x93\x88.ASC", "1000,120\n");
    EXPECT_EQ(calculateFromFile(utf16(folder.path()) + u"/\U0001F4C8.ASC").resultLine(),
              u"FAIL : F = 1.2104");
}

TEST(CalculateCommand, EachRunReadsTheFileAsItIsNow) {
    const TemporaryFolder folder;
    const auto path = folder.write("list.ASC", "Frequency,Level\n1000,100\n");
    EXPECT_EQ(calculateFromFile(utf16(path)).resultLine(), u"PASS : F = 0.0000");
    folder.write("list.ASC", "1000,100");
    EXPECT_EQ(calculateFromFile(utf16(path)).resultLine(), u"PASS : F = 0.1210");
    EXPECT_EQ(calculateFromFile(utf16(path)).resultLine(), u"PASS : F = 0.1210");
    folder.write("list.ASC", "1000,120\r\n");
    EXPECT_EQ(calculateFromFile(utf16(path)).resultLine(), u"FAIL : F = 1.2104");
    std::filesystem::remove(path);
    EXPECT_TRUE(calculateFromFile(utf16(path)).isOpenFailure());
}

std::size_t openDescriptors() {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

TEST(CalculateCommand, ReleasesFileAndMemoryWhenAnyAllocationFails) {
    const TemporaryFolder folder;
    std::string content;
    for (int i = 0; i < 5000; ++i) {
        content += "150000.0,45.23\n";
    }
    const std::u16string path = utf16(folder.write("list.ASC", content));
    const std::size_t descriptorsBefore = openDescriptors();

    bool completed = false;
    for (long failAt = 0; !completed; ++failAt) {
        SCOPED_TRACE("allocation " + std::to_string(failAt) + " fails");
        const long liveBefore = g_liveAllocations.load();
        g_allocationsUntilFailure = failAt;
        try {
            const CalculationOutcome outcome = calculateFromFile(path);
            g_allocationsUntilFailure = -1;
            completed = true;
            EXPECT_FALSE(outcome.isOpenFailure());
        } catch (const std::bad_alloc&) {
            g_allocationsUntilFailure = -1;
        }
        ASSERT_EQ(g_liveAllocations.load(), liveBefore);
        ASSERT_EQ(openDescriptors(), descriptorsBefore);
    }
}

}  // namespace
}  // namespace ambersel
