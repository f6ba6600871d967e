// The list format as the reader sees it: items, the white space between them, what ends a list
// and where. The number grammar itself is checked in number_scanner_test.cpp and, against the C
// library, in list_reader_differential_test.cpp.

#include "evaluation/frequency_level_list.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "evaluation/file_handle.h"
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
        {"third_number_ends_the_list_after_its_pair", "1,2,3\n", {{1, 2}}, malformedAt(1, ",3")}};
    for (const Row& row : rows) {
        // Small buffers make items and excerpts run across buffer fills.
        for (const std::size_t bufferSize :
             {std::size_t{1}, std::size_t{3}, std::size_t{64 * 1024}}) {
            SCOPED_TRACE(std::string(row.name) + ", buffer of " + std::to_string(bufferSize) +
                         " bytes");
            const support::TextStream stream(row.content);
            FrequencyLevelList list;
            ReadingOptions options;
            options.bufferSize = bufferSize;
            const ReadingStop stop = scanFrequencyLevelList(stream.get(), list, options);
            EXPECT_EQ(bitsOf(list), bitsOf(row.points));
            EXPECT_TRUE(stop == row.stop) << "line " << stop.line << ": '" << stop.excerpt << "'";
        }
    }
}

TEST(ListReader, ReportsAReadErrorInsteadOfAQuietEnd) {
#if defined(_WIN32)
    GTEST_SKIP()
        << "a write-only stream reads as empty here; tests/win32 reads locked bytes instead";
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
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps generates it)";
    }
    const support::TextStream stream("1000.5,100.25\n");
    FrequencyLevelList list;
    readFrequencyLevelList(stream.get(), list);
    const std::u16string line = formatVerdict(evaluateTestFigure({{1000, 100}}));
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(bitsOf(list), bitsOf({{1000.5F, 100.25F}}));
    EXPECT_EQ(line, u"PASS : F = 0.1210");
}

}  // namespace
}  // namespace ambersel
