// Hostile list files: binary junk, foreign encodings, numbers a megabyte long, a million blank
// lines, truncated and changing files, extreme paths, links, FIFOs, devices and locked files. Each
// must give a clear outcome: the points the C library's own "%f,%f\n" loop reads, or the open
// failure, at once. None may crash, hang or earn a verdict from a list that never was.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <new>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "evaluation/calculate_command.h"
#include "evaluation/frequency_level_list.h"
#include "evaluation/list_file.h"
#include "tests/test_files.h"

// This program's allocations go through here. The growth of the list is the one moment inside
// readListFile() at which a test can act, so a test may hang a change of the file on the first
// allocation larger than the reader's own buffer.
namespace {
constexpr std::size_t kLargeAllocation = std::size_t{256} * 1024;
std::function<void()> g_onLargeAllocation;
}  // namespace

void* operator new(std::size_t size) {
    if (size >= kLargeAllocation && g_onLargeAllocation) {
        std::exchange(g_onLargeAllocation, nullptr)();
    }
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}
// GCC sees the replaced operator new inlined as malloc and the free below as a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t /*size*/) noexcept {
    std::free(memory);
}
#pragma GCC diagnostic pop

namespace ambersel {
namespace {

using namespace std::string_literals;
using testing::bitsOf;
using testing::TemporaryFolder;
namespace fs = std::filesystem;

constexpr std::size_t kMegabyte = 1'000'000;
constexpr float kInfinity = std::numeric_limits<float>::infinity();

std::string repeated(std::string_view piece, std::size_t count) {
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

// Bytes from a fixed seed, so that a failure can be replayed.
std::string junk(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

std::string utf16(std::string_view ascii, bool bigEndian, bool withMark) {
    std::string bytes = withMark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (const char c : ascii) {
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return bytes;
}

std::u16string utf16Path(const fs::path& path) {
    const std::string& bytes = path.native();
    return {bytes.begin(), bytes.end()};
}

// The points the C library's own loop reads from the file at `path`.
FrequencyLevelList readWithScanf(const fs::path& path) {
    const testing::Stream file(std::fopen(path.c_str(), "r"));
    if (!file) {
        throw std::runtime_error("cannot open " + path.string());
    }
    FrequencyLevelList points;
    FrequencyLevelPoint point;
    // NOLINTNEXTLINE(cert-err34-c): the scan's own result is what the reader must match.
    while (std::fscanf(file.get(), "%f,%f\n", &point.frequency, &point.level) == 2) {
        points.push_back(point);
    }
    return points;
}

::testing::AssertionResult samePoints(const FrequencyLevelList& actual,
                                      const FrequencyLevelList& expected) {
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << actual.size() << " points where " << expected.size() << " were expected";
    }
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (bitsOf(actual[i].frequency) != bitsOf(expected[i].frequency) ||
            bitsOf(actual[i].level) != bitsOf(expected[i].level)) {
            return ::testing::AssertionFailure()
                   << "point " << i << " is (" << actual[i].frequency << ", " << actual[i].level
                   << ") where (" << expected[i].frequency << ", " << expected[i].level
                   << ") was expected";
        }
    }
    return ::testing::AssertionSuccess();
}

struct ContentRow {
    const char* name;
    std::string (*content)();
    FrequencyLevelList points;  // to the bit
    ReadingEnd end = ReadingEnd::EndOfFile;
    std::uint64_t line = 0;  // where the item that ended the list begins
};

void PrintTo(const ContentRow& row, std::ostream* out) {
    *out << row.name;
}

class HostileContent : public ::testing::TestWithParam<ContentRow> {};

TEST_P(HostileContent, GivesThePointsTheCLibraryReads) {
    const ContentRow& row = GetParam();
    const TemporaryFolder folder;
    const fs::path path = folder.write("list.ASC", row.content());

    const ListFileReading reading = readListFile(path);
    ASSERT_TRUE(reading.opened()) << reading.openError.message();
    EXPECT_TRUE(samePoints(reading.points, row.points));
    EXPECT_EQ(reading.stop.end, row.end);
    EXPECT_EQ(reading.stop.line, row.line);
    EXPECT_TRUE(samePoints(reading.points, readWithScanf(path)));
}

FrequencyLevelList onePoint() {
    return {{1000, 100}};
}
// 1 + 2^-24, exactly halfway between 1 and the next float.
constexpr std::string_view kHalfwayAboveOne = "1.000000059604644775390625";

INSTANTIATE_TEST_SUITE_P(
    Bytes, HostileContent,
    ::testing::Values(ContentRow{"nul_byte_after_a_point_ends_the_list",
                                 [] { return "1000,100\n\0\n1000,120\n"s; }, onePoint(),
                                 ReadingEnd::MalformedItem, 2},
                      ContentRow{"nul_byte_inside_a_number_is_not_skipped",
                                 [] {
                                     return "10\0"s
                                            "00,100\n";
                                 },
                                 {},
                                 ReadingEnd::MalformedItem,
                                 1},
                      ContentRow{"nul_byte_after_the_comma_is_not_white_space",
                                 [] {
                                     return "1000,\0"s
                                            "100\n";
                                 },
                                 {},
                                 ReadingEnd::MalformedItem,
                                 1},
                      ContentRow{"binary_junk_gives_no_points",
                                 [] { return '\x80' + junk(200'000, 1); },
                                 {},
                                 ReadingEnd::MalformedItem,
                                 1},
                      ContentRow{"binary_junk_after_points_keeps_them",
                                 [] { return "1000,100\n\n" + ('\x01' + junk(200'000, 2)); },
                                 onePoint(), ReadingEnd::MalformedItem, 3}),
    [](const ::testing::TestParamInfo<ContentRow>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Encodings, HostileContent,
    ::testing::Values(ContentRow{"utf8_byte_order_mark_gives_no_points",
                                 [] {
                                     return "\xEF\xBB\xBF"s
                                            "1000,100\n";
                                 },
                                 {},
                                 ReadingEnd::MalformedItem,
                                 1},
                      ContentRow{"utf16_little_endian_gives_no_points",
                                 [] { return utf16("1000,100\r\n1000,120\r\n", false, true); },
                                 {},
                                 ReadingEnd::MalformedItem,
                                 1},
                      ContentRow{"utf16_big_endian_gives_no_points",
                                 [] { return utf16("1000,100\r\n1000,120\r\n", true, true); },
                                 {},
                                 ReadingEnd::MalformedItem,
                                 1},
                      ContentRow{"utf16_without_mark_gives_no_points",
                                 [] { return utf16("1000,100\r\n", false, false); },
                                 {},
                                 ReadingEnd::MalformedItem,
                                 1}),
    [](const ::testing::TestParamInfo<ContentRow>& info) { return info.param.name; });

// Each number below is longer than any read buffer; it is read exactly, as the C library reads it.
INSTANTIATE_TEST_SUITE_P(
    MegabyteNumbers, HostileContent,
    ::testing::Values(
        ContentRow{
            "digit_a_megabyte_after_a_halfway_value_rounds_it_up",
            [] { return std::string(kHalfwayAboveOne) + repeated("0", kMegabyte) + "1,100"; },
            {{std::nextafter(1.0F, 2.0F), 100}}},
        ContentRow{"megabyte_of_zeros_after_a_halfway_value_rounds_to_even",
                   [] { return std::string(kHalfwayAboveOne) + repeated("0", kMegabyte) + ",100"; },
                   {{1, 100}}},
        ContentRow{"megabyte_of_leading_zeros_cancelled_by_the_exponent",
                   [] { return "0." + repeated("0", kMegabyte) + "1e1000001,100"; },
                   {{1, 100}}},
        ContentRow{"megabyte_of_integer_digits_overflows_to_infinity",
                   [] { return repeated("9", kMegabyte) + ",100"; },
                   {{kInfinity, 100}}},
        ContentRow{"megabyte_of_fraction_digits_underflows_to_zero",
                   [] { return "1000,0." + repeated("0", kMegabyte) + "1"; },
                   {{1000, 0}}},
        ContentRow{"megabyte_long_exponent",
                   [] { return "1e+" + repeated("0", kMegabyte) + "3,100"; },
                   {{1000, 100}}},
        ContentRow{"megabyte_of_digits_then_a_malformed_item",
                   [] { return "1000,100." + repeated("0", kMegabyte) + "\nend"; }, onePoint(),
                   ReadingEnd::MalformedItem, 2}),
    [](const ::testing::TestParamInfo<ContentRow>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    MillionBlankLines, HostileContent,
    ::testing::Values(
        ContentRow{"before_the_first_point",
                   [] { return repeated("\n", kMegabyte) + "1000,100\n"; }, onePoint()},
        ContentRow{"between_comma_and_level",
                   [] { return "1000," + repeated("\r\n", kMegabyte) + "100"; }, onePoint()},
        ContentRow{"then_text_that_is_named_by_its_line",
                   [] { return "1000,100" + repeated("\r\n", kMegabyte) + "end\n"; }, onePoint(),
                   ReadingEnd::MalformedItem, kMegabyte + 1},
        ContentRow{"and_nothing_else", [] { return repeated(" \t\n", kMegabyte); }, {}}),
    [](const ::testing::TestParamInfo<ContentRow>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    TruncatedInANumber, HostileContent,
    ::testing::Values(
        ContentRow{"level_cut_short_reads_as_its_digits",
                   [] { return "1000,100\n1000,1"s; },
                   {{1000, 100}, {1000, 1}}},
        ContentRow{"exponent_cut_short_reads_as_the_digits_before_it",
                   [] { return "1000,100\n1000,1.5e+"s; },
                   {{1000, 100}, {1000, 1.5F}}},
        ContentRow{"cut_after_the_comma_drops_the_item", [] { return "1000,100\n1000,"s; },
                   onePoint(), ReadingEnd::MalformedItem, 2},
        ContentRow{"cut_in_the_frequency_drops_the_item", [] { return "1000,100\n10"s; },
                   onePoint(), ReadingEnd::MalformedItem, 2},
        ContentRow{"cut_after_a_sign_drops_the_item", [] { return "1000,100\n1000,-"s; },
                   onePoint(), ReadingEnd::MalformedItem, 2},
        ContentRow{"cut_in_a_word_drops_the_item", [] { return "1000,100\n1000,infin"s; },
                   onePoint(), ReadingEnd::MalformedItem, 2}),
    [](const ::testing::TestParamInfo<ContentRow>& info) { return info.param.name; });

TEST(HostileContent, NotANumberFromEitherSignGivesOneLine) {
    // NaNs of both signs meet in the sum; which one survives must not depend on the build.
    const TemporaryFolder folder;
    const fs::path path = folder.write("list.ASC", "inf,nan\n-INFINITY,-nan\ninfi,1\n");
    EXPECT_EQ(calculateFromPath(path).resultLine(), u"FAIL : F = -nan");
}

constexpr std::size_t kLongListPoints = 200'000;
std::string longList() {
    return repeated("1000,100\n", kLongListPoints);
}

void append(const fs::path& path, std::string_view text) {
    const testing::Stream file(std::fopen(path.c_str(), "a"));
    ASSERT_TRUE(file);
    ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file.get()), text.size());
}

// Sets the file's times well into the past, as for a list exported long ago, so that the next write
// changes them whatever the grain of the system's clock.
void ageFile(const fs::path& path) {
    const std::array<timespec, 2> times = {timespec{1'000'000'000, 0}, timespec{1'000'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times.data(), 0), 0);
}

// Hangs `change` on the next allocation larger than the reader's buffer, for as long as it lives.
class ChangeOnGrowth {
  public:
    explicit ChangeOnGrowth(std::function<void()> change) {
        g_onLargeAllocation = std::move(change);
    }
    ChangeOnGrowth(const ChangeOnGrowth&) = delete;
    ChangeOnGrowth& operator=(const ChangeOnGrowth&) = delete;
    ~ChangeOnGrowth() { g_onLargeAllocation = nullptr; }

    static bool happened() { return !g_onLargeAllocation; }
};

struct ChangeRow {
    const char* name;
    // Changes the file at `path` (in `folder`) while it is being read.
    void (*change)(const TemporaryFolder& folder, const fs::path& path);
    bool readError;  // otherwise the list is the file as it was when opened
};

void PrintTo(const ChangeRow& row, std::ostream* out) {
    *out << row.name;
}

class FileChangedWhileRead : public ::testing::TestWithParam<ChangeRow> {};

TEST_P(FileChangedWhileRead, GivesNoListThatNeverStoodInTheFile) {
    const ChangeRow& row = GetParam();
    const TemporaryFolder folder;
    const fs::path path = folder.write("list.ASC", longList());
    ageFile(path);

    // The reader's list outgrows its first blocks long before the file's end is reached: that is
    // when the other writer strikes.
    const ChangeOnGrowth change([&] { row.change(folder, path); });
    const ListFileReading reading = readListFile(path);
    ASSERT_TRUE(ChangeOnGrowth::happened()) << "the change was not made during the reading";
    ASSERT_TRUE(reading.opened());
    if (row.readError) {
        EXPECT_EQ(reading.stop.end, ReadingEnd::ReadError);
    } else {
        EXPECT_EQ(reading.stop.end, ReadingEnd::EndOfFile);
        EXPECT_TRUE(samePoints(reading.points, FrequencyLevelList(kLongListPoints, {1000, 100})));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FileChangedWhileRead,
    ::testing::Values(
        ChangeRow{"appended_to",
                  [](const TemporaryFolder&, const fs::path& path) { append(path, "1000,120\n"); },
                  true},
        ChangeRow{"rewritten_in_place_with_the_same_size",
                  [](const TemporaryFolder&, const fs::path& path) {
                      const testing::Stream file(std::fopen(path.c_str(), "r+"));
                      ASSERT_TRUE(file);
                      ASSERT_GE(std::fputs("1000,120\n", file.get()), 0);
                  },
                  true},
        ChangeRow{"truncated",
                  [](const TemporaryFolder&, const fs::path& path) { fs::resize_file(path, 0); },
                  true},
        ChangeRow{"replaced_under_its_name",
                  [](const TemporaryFolder& folder, const fs::path& path) {
                      fs::rename(folder.write("new.ASC", "1000,120\n"), path);
                  },
                  false},
        ChangeRow{"deleted", [](const TemporaryFolder&, const fs::path& path) { fs::remove(path); },
                  false}),
    [](const ::testing::TestParamInfo<ChangeRow>& info) { return info.param.name; });

TEST(FileChangedWhileRead, CommandShowsTheOpenFailureInsteadOfAVerdict) {
    const TemporaryFolder folder;
    const fs::path path = folder.write("list.ASC", longList());
    ageFile(path);
    {
        const ChangeOnGrowth change([&] { append(path, "1000,120\n"); });
        EXPECT_TRUE(calculateFromPath(path).isOpenFailure());
        EXPECT_TRUE(ChangeOnGrowth::happened());
    }
    EXPECT_EQ(calculateFromPath(path).resultLine().substr(0, 4), u"FAIL");
}

// A folder path of about `length` bytes under `base`, made of long names.
fs::path deepFolder(const fs::path& base, std::size_t length) {
    fs::path deep = base;
    while (deep.native().size() + 201 < length) {
        deep /= std::string(200, 'd');
    }
    return deep / std::string(length - deep.native().size() - 1, 'e');
}

TEST(ExtremePaths, PathOfFourThousandBytesReads) {
    const TemporaryFolder folder;
    const fs::path deep = deepFolder(folder.path(), 4000);
    fs::create_directories(deep);
    const fs::path path = deep / "list.ASC";
    folder.write(fs::relative(path, folder.path()), "1000,100\n");
    ASSERT_GE(path.native().size(), 4000U);
    ASSERT_LT(path.native().size(), 4096U) << "the system's limit, terminator included";

    EXPECT_TRUE(samePoints(readListFile(path).points, onePoint()));
    EXPECT_EQ(calculateFromFile(utf16Path(path)).resultLine(), u"PASS : F = 0.1210");
}

TEST(ExtremePaths, PathBeyondTheSystemLimitIsTheOpenFailure) {
    const TemporaryFolder folder;
    const fs::path path = deepFolder(folder.path(), 5000) / "list.ASC";
    const ListFileReading reading = readListFile(path);
    EXPECT_EQ(reading.openError, std::errc::filename_too_long);
    EXPECT_TRUE(calculateFromFile(utf16Path(path)).isOpenFailure());
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

struct SpecialFileRow {
    const char* name;
    // Makes the path to open inside `folder`.
    fs::path (*make)(const TemporaryFolder& folder);
    std::error_code openError;  // none: the file reads as one point (1000, 100)
};

void PrintTo(const SpecialFileRow& row, std::ostream* out) {
    *out << row.name;
}

class SpecialFiles : public ::testing::TestWithParam<SpecialFileRow> {};

// A FIFO or device that were read would block or never end: the timeout of the test turns that into
// a failure.
TEST_P(SpecialFiles, AreReadOnlyWhenTheyLeadToARegularFile) {
    const SpecialFileRow& row = GetParam();
    const TemporaryFolder folder;
    const fs::path path = row.make(folder);
    const ListFileReading reading = readListFile(path);
    EXPECT_EQ(reading.openError, row.openError) << reading.openError.message();
    if (row.openError) {
        EXPECT_TRUE(reading.points.empty());
        EXPECT_TRUE(calculateFromPath(path).isOpenFailure());
    } else {
        EXPECT_TRUE(samePoints(reading.points, onePoint()));
    }
}

fs::path makeFifo(const TemporaryFolder& folder) {
    fs::path fifo = folder.path() / "list.ASC";
    if (::mkfifo(fifo.c_str(), 0600) != 0) {
        throw std::system_error(errno, std::generic_category(), "mkfifo");
    }
    return fifo;
}

// Keeps a FIFO open for writing, with a whole list waiting in it, until the program ends.
fs::path makeFifoWithWriter(const TemporaryFolder& folder) {
    fs::path fifo = makeFifo(folder);
    static std::vector<int> writers;
    const int writer = ::open(fifo.c_str(), O_RDWR | O_CLOEXEC);
    if (writer < 0 || ::write(writer, "1000,100\n", 9) != 9) {
        throw std::system_error(errno, std::generic_category(), "FIFO writer");
    }
    writers.push_back(writer);
    return fifo;
}

fs::path makeSocket(const TemporaryFolder& folder) {
    fs::path path = folder.path() / "list.ASC";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    static std::vector<int> sockets;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the socket interface's own type.
    if (socket < 0 ||
        ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        throw std::system_error(errno, std::generic_category(), "bind");
    }
    sockets.push_back(socket);
    return path;
}

const std::error_code kNotRegular = make_error_code(ListFileError::NotARegularFile);

INSTANTIATE_TEST_SUITE_P(
    Kinds, SpecialFiles,
    ::testing::Values(
        SpecialFileRow{"link_to_a_file_reads_the_file",
                       [](const TemporaryFolder& folder) {
                           fs::path link = folder.path() / "link.ASC";
                           fs::create_symlink(folder.write("list.ASC", "1000,100\n"), link);
                           return link;
                       },
                       {}},
        SpecialFileRow{"link_to_a_link_to_a_file_reads_the_file",
                       [](const TemporaryFolder& folder) {
                           fs::create_symlink(folder.write("list.ASC", "1000,100\n"),
                                              folder.path() / "first.ASC");
                           fs::create_symlink("first.ASC", folder.path() / "second.ASC");
                           return folder.path() / "second.ASC";
                       },
                       {}},
        SpecialFileRow{"link_to_a_folder",
                       [](const TemporaryFolder& folder) {
                           fs::create_directory_symlink(folder.path(), folder.path() / "link.ASC");
                           return folder.path() / "link.ASC";
                       },
                       kNotRegular},
        SpecialFileRow{"link_to_nothing",
                       [](const TemporaryFolder& folder) {
                           fs::create_symlink("missing.ASC", folder.path() / "link.ASC");
                           return folder.path() / "link.ASC";
                       },
                       std::make_error_code(std::errc::no_such_file_or_directory)},
        SpecialFileRow{"link_to_itself",
                       [](const TemporaryFolder& folder) {
                           fs::create_symlink("link.ASC", folder.path() / "link.ASC");
                           return folder.path() / "link.ASC";
                       },
                       std::make_error_code(std::errc::too_many_symbolic_link_levels)},
        SpecialFileRow{"fifo_without_writer", makeFifo, kNotRegular},
        SpecialFileRow{"fifo_with_a_list_waiting_in_it", makeFifoWithWriter, kNotRegular},
        SpecialFileRow{"socket", makeSocket,
                       std::make_error_code(std::errc::no_such_device_or_address)},
        SpecialFileRow{"empty_device", [](const TemporaryFolder&) { return fs::path("/dev/null"); },
                       kNotRegular},
        SpecialFileRow{"endless_device",
                       [](const TemporaryFolder&) { return fs::path("/dev/zero"); }, kNotRegular},
        SpecialFileRow{"endless_random_device",
                       [](const TemporaryFolder&) { return fs::path("/dev/urandom"); },
                       kNotRegular}),
    [](const ::testing::TestParamInfo<SpecialFileRow>& info) { return info.param.name; });

// What readListFile() says about `path` to a user who is not the file's owner, as the exit status
// of a child process: 0 for permission denied, 1 when it opened, 2 for another failure, 3 when no
// such user could be taken on.
int openFailureAsAnotherUser(const fs::path& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        // Root reads any file, so the child takes on the unprivileged "nobody" first.
        constexpr uid_t kNobody = 65534;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(3);
        }
        const std::error_code error = readListFile(path).openError;
        ::_exit(!error ? 1 : error == std::errc::permission_denied ? 0 : 2);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

TEST(Permissions, UnreadableFileAndUnsearchableFolderAreTheOpenFailure) {
    struct Row {
        const char* name;
        fs::perms folder;
        fs::perms file;
    };
    const fs::perms everyone = fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all;
    const fs::perms readable =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    for (const Row& row : {Row{"file_without_read_permission", everyone, fs::perms::owner_write},
                           Row{"folder_without_search_permission",
                               fs::perms::owner_read | fs::perms::owner_write, readable}}) {
        SCOPED_TRACE(row.name);
        const TemporaryFolder folder;
        const fs::path path = folder.write("list.ASC", "1000,100\n");
        fs::permissions(path, row.file);
        fs::permissions(folder.path(), row.folder);
        const int outcome = openFailureAsAnotherUser(path);
        if (outcome == 3) {
            GTEST_SKIP() << "running as root without the right to become another user";
        }
        EXPECT_EQ(outcome, 0);
    }
}

}  // namespace
}  // namespace ambersel
