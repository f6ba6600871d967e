// The list format as the reader sees it: items, the white space between them, what ends a list
// and where. The number grammar itself is checked in number_scanner_test.cpp and, against the C
// library, in list_reader_differential_test.cpp.

#include "evaluation/frequency_level_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "evaluation/file_handle.h"
#include "evaluation/storage_advice.h"
#include "evaluation/test_figure.h"
#include "tests/support/text_stream.h"
#include "tests/test_files.h"

namespace ambersel {
namespace {

using testing::bitsOf;

ReadingStop malformedAt(std::uint64_t line, std::string excerpt) {
    return {ReadingEnd::MalformedItem, line, std::move(excerpt)};
}

// The list format's own examples; every other form of list is compared with the C library in
// list_reader_differential_test.cpp.
TEST(ListFormat, GivesThePointsAndTheStop) {
    struct Row {
        const char* name;
        std::string content;
        std::vector<FrequencyLevelPoint> points;
        ReadingStop stop = {};
    };
    const Row rows[] = {
        {"empty_file_gives_no_points_and_ends_quietly", "", {}},
        {"line_ends_of_every_kind_and_white_space_after_the_comma",
         "1000000,40\r\n\n150000, 60\n1000,\n100",
         {{1000000, 40}, {150000, 60}, {1000, 100}}},
        {"blank_before_the_comma_ends_the_list", "150000 ,60", {}, malformedAt(1, "150000 ,60")},
        {"text_after_two_items_ends_the_list_on_its_line",
         "1,2\n3,4\n\n  end\n5,6\n",
         {{1, 2}, {3, 4}},
         malformedAt(4, "end")},
        {"third_number_ends_the_list_after_its_pair", "1,2,3\n", {{1, 2}}, malformedAt(1, ",3")},
        {"footer_ends_the_list_and_its_lines_are_not_read_as_points",
         "1,2\nEnd of scan\nOperator: night shift, bench 4\nSerial: 0042-7781\n7,8\n",
         {{1, 2}},
         malformedAt(2, "End of scan")}};
    for (const Row& row : rows) {
        // Small buffers make items and excerpts run across buffer fills; a contents sink, which a
        // record hashes, must take every byte and change nothing of the list.
        for (const std::size_t bufferSize :
             {std::size_t{1}, std::size_t{3}, std::size_t{64 * 1024}}) {
            for (const bool withContents : {false, true}) {
                SCOPED_TRACE(std::string(row.name) + ", buffer of " + std::to_string(bufferSize) +
                             " bytes" + (withContents ? ", contents taken" : ""));
                const support::TextStream stream(row.content);
                FrequencyLevelList list;
                std::string taken;
                const ContentSink take = [&taken](std::span<const unsigned char> bytes) {
                    taken.append(bytes.begin(), bytes.end());
                };
                ReadingOptions options;
                options.bufferSize = bufferSize;
                options.contents = withContents ? &take : nullptr;
                const ReadingStop stop = scanFrequencyLevelList(stream.get(), list, options);
                EXPECT_EQ(bitsOf(list), bitsOf(row.points));
                EXPECT_TRUE(stop == row.stop)
                    << "line " << stop.line << ": '" << stop.excerpt << "'";
                EXPECT_EQ(taken, withContents ? row.content : "");
            }
        }
    }
}

// The storage advised since the test installed its recorder.
std::vector<std::span<const std::byte>>& advisedStorage() {
    static std::vector<std::span<const std::byte>> storage;
    return storage;
}

// A long list grows once to what its file promises, and that storage is what the advice is shown
// before it is filled: advice on storage the list then leaves would be lost.
TEST(ListReader, AdvisesOnTheStorageItGrewToBeforeFillingIt) {
    constexpr std::size_t kPoints = 300'000;  // more than 2 MiB of points
    std::string content;
    for (std::size_t i = 0; i < kPoints; ++i) {
        content += std::to_string(1000 + i) + ",40.25\n";
    }
    struct Row {
        const char* name;
        std::uint64_t fileSize;
        bool advised;
    };
    const Row rows[] = {{"size_known_the_list_fills_the_storage_advised", content.size(), true},
                        {"size_unknown_the_list_doubles_and_advises_nothing", 0, false}};
    setStorageAdvice(
        [](std::span<const std::byte> storage) { advisedStorage().push_back(storage); });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        advisedStorage().clear();
        const support::TextStream stream(content);
        FrequencyLevelList list;
        ReadingOptions options;
        options.fileSize = row.fileSize;
        scanFrequencyLevelList(stream.get(), list, options);
        ASSERT_EQ(list.size(), kPoints);
        EXPECT_EQ(bitsOf(FrequencyLevelList{list.back()}), bitsOf({{1000 + kPoints - 1, 40.25F}}));
        ASSERT_EQ(advisedStorage().size(), row.advised ? 1U : 0U);
        if (row.advised) {
            EXPECT_EQ(advisedStorage()[0].data(), std::as_bytes(std::span(list)).data());
            EXPECT_GE(advisedStorage()[0].size(), std::as_bytes(std::span(list)).size());
        }
    }
    setStorageAdvice(nullptr);
}

TEST(ListReader, ReportsAReadErrorInsteadOfAQuietEnd) {
#if defined(_WIN32)
    GTEST_SKIP()
        << "the Windows C runtime reads a write-only stream as empty, without an error; "
           "win32_list_file_tests makes its read error from locked bytes instead (where the "
           "system keeps them from being read: Windows, not Wine)";
#endif
    // A stream opened for writing only fails every read.
    const testing::TemporaryFolder folder;
    const auto path = folder.write("list.ASC", "1,2\n");
    const FileHandle stream(std::fopen(path.string().c_str(), "a"));
    ASSERT_TRUE(stream);
    FrequencyLevelList list;
    EXPECT_EQ(scanFrequencyLevelList(stream.get(), list).end, ReadingEnd::ReadError);
}

// Neither the reader nor the line may take the decimal separator from the process's locale.
TEST(CommaLocale, IsNotUsedToReadOrWriteNumbers) {
    // German, as each C library names it: glibc, then the Windows C runtime (msvcrt), which knows
    // no UTF-8 locales at all.
    const std::vector<std::string> names{"de_DE.UTF-8", "de-DE", "German_Germany.1252"};
    struct LocaleRestorer {
        std::string saved = std::setlocale(LC_ALL, nullptr);
        ~LocaleRestorer() { std::setlocale(LC_ALL, saved.c_str()); }
    } restorer;
    const auto german = std::ranges::find_if(
        names, [](const std::string& name) { return std::setlocale(LC_ALL, name.c_str()); });
    if (german == names.end()) {
        GTEST_SKIP() << "the C library has no German locale (de_DE.UTF-8 is generated by "
                        "scripts/install-deps; de-DE and German_Germany.1252 are Windows names)";
    }
    ASSERT_STREQ(std::localeconv()->decimal_point, ",") << *german << " has no decimal comma";
    const support::TextStream stream("1000.5,100.25\n");
    FrequencyLevelList list;
    readFrequencyLevelList(stream.get(), list);
    const std::u16string line = formatVerdict(evaluateTestFigure({{1000, 100}}));
    EXPECT_EQ(bitsOf(list), bitsOf({{1000.5F, 100.25F}})) << *german;
    EXPECT_EQ(line, u"PASS : F = 0.1210") << *german;
}

}  // namespace
}  // namespace ambersel
