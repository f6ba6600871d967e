#include "evaluation/frequency_level_list.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/test_files.h"

namespace ambersel {
namespace {

using testing::bitsOf;
using testing::streamHolding;

constexpr float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Reads `content` afresh with each buffer size, so that items straddle buffer fills, and hands
// every reading to `check`.
template <typename Check>
void readWithBufferSizes(const std::string& content, std::initializer_list<std::size_t> sizes,
                         Check&& check) {
    for (const std::size_t bufferSize : sizes) {
        SCOPED_TRACE("buffer of " + std::to_string(bufferSize) + " bytes");
        const auto stream = streamHolding(content);
        FrequencyLevelList list;
        const ReadingStop stop = detail::scanFrequencyLevelList(stream.get(), list, bufferSize);
        check(list, stop);
    }
}

struct GrammarRow {
    const char* name;
    std::string content;
    std::vector<FrequencyLevelPoint> points;
    ReadingEnd end = ReadingEnd::EndOfFile;
};

void PrintTo(const GrammarRow& row, std::ostream* out) {
    *out << row.name;
}

class ListGrammar : public ::testing::TestWithParam<GrammarRow> {};

TEST_P(ListGrammar, ReadsThePointsTheScanFormatReads) {
    const GrammarRow& row = GetParam();
    readWithBufferSizes(
        row.content, {1, 3, 64 * 1024},
        [&](const FrequencyLevelList& list, const ReadingStop& stop) {
            ASSERT_EQ(list.size(), row.points.size());
            for (std::size_t i = 0; i < list.size(); ++i) {
                EXPECT_EQ(bitsOf(list[i].frequency), bitsOf(row.points[i].frequency))
                    << "point " << i;
                EXPECT_EQ(bitsOf(list[i].level), bitsOf(row.points[i].level)) << "point " << i;
            }
            EXPECT_EQ(stop.end, row.end);
        });
}

INSTANTIATE_TEST_SUITE_P(
    Items, ListGrammar,
    ::testing::Values(
        GrammarRow{"no line end after the last item", "1000000,40", {{1000000, 40}}},
        GrammarRow{"blank lines between items are skipped",
                   "150000,60\n\n\n30000000,30\n",
                   {{150000, 60}, {30000000, 30}}},
        GrammarRow{"exponents with sign and capital E", "1.5E+05,6.0E+01", {{150000, 60}}},
        GrammarRow{"blank after the comma is skipped", "150000, 60", {{150000, 60}}},
        GrammarRow{"line end after the comma is skipped", "1000,\n100", {{1000, 100}}},
        GrammarRow{"digits missing before the point", ".5,7", {{0.5F, 7}}},
        GrammarRow{"negative zero keeps its sign", "-0,50", {{-0.0F, 50}}},
        GrammarRow{"items need no line end between them when a sign starts the next",
                   "1,2-3,4",
                   {{1, 2}, {-3, 4}}},
        GrammarRow{"empty file gives no points", "", {}},
        GrammarRow{"semicolon separator ends the list", "150000;60", {}, ReadingEnd::MalformedItem},
        GrammarRow{"text after two items ends the list",
                   "1,2\n3,4\nend\n5,6\n",
                   {{1, 2}, {3, 4}},
                   ReadingEnd::MalformedItem},
        GrammarRow{"lone number is discarded", "1,2\n3\n", {{1, 2}}, ReadingEnd::MalformedItem},
        GrammarRow{"third number ends the list after its pair",
                   "1,2,3\n",
                   {{1, 2}},
                   ReadingEnd::MalformedItem},
        GrammarRow{"UTF-8 byte-order mark gives no points",
                   "\xEF\xBB\xBF"
                   "1,2\n",
                   {},
                   ReadingEnd::MalformedItem},
        GrammarRow{"UTF-16 text gives no points",
                   std::string("1\0,\0002\0", 6),
                   {},
                   ReadingEnd::MalformedItem},
        GrammarRow{"decimal comma of a German list splits its first number",
                   "1000,5;100\n",
                   {{1000, 5}},
                   ReadingEnd::MalformedItem},
        GrammarRow{"second point in a number ends it", "1.2.3,4", {}, ReadingEnd::MalformedItem},
        GrammarRow{"lone sign is no number", "-,5", {}, ReadingEnd::MalformedItem},
        GrammarRow{"point before an exponent is no number", ".e5,5", {}, ReadingEnd::MalformedItem},
        GrammarRow{"exponent mark without digits is consumed and ignored",
                   "1e,5\n2E+,6\n3e-,7",
                   {{1, 5}, {2, 6}, {3, 7}}},
        GrammarRow{"exponent mark without digits before a line end ends the item",
                   "1,5e\n2,6",
                   {{1, 5}, {2, 6}}},
        GrammarRow{"infinity in every spelling",
                   "inf,-INF\nInfinity,+infinity",
                   {{kInf, -kInf}, {kInf, kInf}}},
        GrammarRow{"broken infinity ends the list", "infin,5", {}, ReadingEnd::MalformedItem},
        GrammarRow{"not-a-number keeps its sign", "nan,-NaN", {{kNaN, -kNaN}}},
        GrammarRow{"hexadecimal numbers", "0x1.8p3,-0X10\n0x.8,0xAp-1", {{12, -16}, {0.5F, 5}}},
        GrammarRow{"hexadecimal prefix alone is no number", "0x,5", {}, ReadingEnd::MalformedItem},
        GrammarRow{"hexadecimal prefix with only a point reads as zero",
                   "0x.,5\n-0x.,6",
                   {{0, 5}, {-0.0F, 6}}},
        GrammarRow{"overflow gives infinity with its sign",
                   "1e39,-1e39\n1e999999999999,5",
                   {{kInf, -kInf}, {kInf, 5}}},
        GrammarRow{"largest float and the first value that rounds past it",
                   "3.4028234e38,3.40282357e38",
                   {{std::numeric_limits<float>::max(), kInf}}},
        GrammarRow{"underflow gives zero with its sign",
                   "1e-46,-1e-46\n1e-99999999999,5",
                   {{0, -0.0F}, {0, 5}}},
        GrammarRow{
            "subnormals round to nearest",
            "1.4e-45,7.1e-46",
            {{std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::denorm_min()}}},
        GrammarRow{"leading zeros do not count as digits of precision",
                   std::string(200, '0') + "1.5,0." + std::string(300, '0') + "15e301",
                   {{1.5F, 1.5F}}},
        GrammarRow{"digits far past the kept precision still round up",
                   // 1 + 2^-24 is halfway between two floats; anything above it rounds up.
                   "1.000000059604644775390625" + std::string(300, '0') + "1,1.5",
                   {{1.00000012F, 1.5F}}},
        GrammarRow{
            "exact halfway rounds to even", "1.000000059604644775390625,1.5", {{1.0F, 1.5F}}}),
    [](const ::testing::TestParamInfo<GrammarRow>& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) {
                c = '_';
            }
        }
        return name;
    });

struct StopRow {
    const char* name;
    std::string content;
    std::uint64_t line;
    std::string excerpt;
};

void PrintTo(const StopRow& row, std::ostream* out) {
    *out << row.name;
}

class WhereReadingStopped : public ::testing::TestWithParam<StopRow> {};

TEST_P(WhereReadingStopped, NamesTheLineAndQuotesTheItem) {
    const StopRow& row = GetParam();
    readWithBufferSizes(row.content, {1, 5, 64 * 1024},
                        [&](const FrequencyLevelList&, const ReadingStop& stop) {
                            EXPECT_EQ(stop.end, ReadingEnd::MalformedItem);
                            EXPECT_EQ(stop.line, row.line);
                            EXPECT_EQ(stop.excerpt, row.excerpt);
                        });
}

INSTANTIATE_TEST_SUITE_P(
    Stops, WhereReadingStopped,
    ::testing::Values(
        StopRow{"trailing text", "1,2\n3,4\nend\n5,6\n", 3, "end"},
        StopRow{"header on the first line", "Frequency,Level\r\n1,2\r\n", 1, "Frequency,Level"},
        StopRow{"blank lines before the bad item are counted", "1,2\n\n\n\n  x\n", 5, "x"},
        StopRow{"item broken across a line end starts on its first line", "1,\n\nfoo\n", 1, "1,"},
        StopRow{"long item is cut", "1," + std::string(100, 'q'), 1, "1," + std::string(38, 'q')}));

TEST(ListReader, LeavesTheFileOpenAndEndsAtEndOfFile) {
    const auto stream = streamHolding("1,2\n");
    FrequencyLevelList list;
    readFrequencyLevelList(stream.get(), list);
    EXPECT_EQ(list.size(), 1U);
    // The caller still owns an open stream: reading it again is well defined and gives nothing.
    EXPECT_EQ(std::fgetc(stream.get()), EOF);
}

TEST(ListReader, ReportsAReadErrorInsteadOfAQuietEnd) {
    // A stream opened for writing only fails every read.
    testing::TemporaryFolder folder;
    const auto path = folder.write("list.ASC", "1,2\n");
    testing::Stream stream(std::fopen(path.c_str(), "a"));
    ASSERT_TRUE(stream);
    FrequencyLevelList list;
    EXPECT_EQ(scanFrequencyLevelList(stream.get(), list).end, ReadingEnd::ReadError);
}

TEST(ListReader, ReadsTheFullStopUnderACommaLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    bool anyLocale = false;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) == nullptr) {
            continue;
        }
        anyLocale = true;
        const auto stream = streamHolding("1000.5,100.25\n");
        FrequencyLevelList list;
        readFrequencyLevelList(stream.get(), list);
        ASSERT_EQ(list.size(), 1U) << name;
        EXPECT_EQ(list[0].frequency, 1000.5F) << name;
        EXPECT_EQ(list[0].level, 100.25F) << name;
    }
    std::setlocale(LC_ALL, saved.c_str());
    if (!anyLocale) {
        GTEST_SKIP() << "no comma locale installed (scripts/install-deps generates them)";
    }
}

}  // namespace
}  // namespace ambersel
