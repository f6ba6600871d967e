#include "files/list_reading.h"
#include "plot/layout/spectrum_chart.h"
#include "report/html_report.h"
#include "report/record_document.h"
#include "report/report_time.h"
#include "results/result_text.h"
#include "text/time_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "test_files.h"

namespace ambersel::report {
namespace {

using testing::TemporaryFolder;

ListRecord failingRecord(std::string name) {
    const FrequencyLevelList points{{150e3F, 90}, {1e6F, 80}, {20e6F, 70}, {1000, 120}};
    return recordOf(evaluatedList(std::move(name), points, ReadingStop{}, recordScope()));
}

const ReportHeading kHeading{"1.0.0", {1796622355, TimeZoneShown::Utc}};

std::string reportHtml(const ReportHeading& heading, const std::vector<ListRecord>& records) {
    return report::reportHtml(reportDocument(heading, records));
}

template <typename Block>
std::vector<const Block*> blocksOf(const Section& section) {
    std::vector<const Block*> found;
    for (const report::Block& block : section.blocks) {
        if (const auto* wanted = std::get_if<Block>(&block)) {
            found.push_back(wanted);
        }
    }
    return found;
}

// What a writer of pages and the HTML writer are told: which cell is a hash, a number or a result,
// which section starts a page, and every picture's id once.
TEST(ReportDocument, SaysWhatEachPartIsForEveryWriter) {
    ListRecord passing = recordOf(evaluatedList("ok.ASC", {{1e6F, 40}}, {}, recordScope()));
    passing.file = FileFacts{12, 0, std::string(64, 'b')};
    const std::vector<ListRecord> records{failingRecord("a.ASC"), passing};
    const Document document = reportDocument(kHeading, records);
    ASSERT_EQ(document.sections.size(), 3U) << "a summary, then one section a list";
    const Section& summary = document.sections[0];
    EXPECT_TRUE(summary.ownPage && !summary.framed);
    const Table& lists = *blocksOf<Table>(summary).at(0);
    ASSERT_EQ(lists.rows.size(), 2U);
    EXPECT_EQ(lists.rows[0][1].kind, CellKind::Fail) << "a failing result in the colour of a fail";
    EXPECT_EQ(lists.rows[1][1].kind, CellKind::Pass);
    EXPECT_EQ(lists.rows[1][3].kind, CellKind::Number);
    std::vector<std::string> ids;
    for (const Section& list :
         std::vector(document.sections.begin() + 1, document.sections.end())) {
        EXPECT_TRUE(list.ownPage && list.framed) << "after a summary each list on its own page";
        const std::vector<const Table*> tables = blocksOf<Table>(list);
        ASSERT_EQ(tables.size(), 3U) << "facts, contributors, bands";
        for (const std::vector<Cell>& row : tables[0]->rows) {
            EXPECT_EQ(row.at(0).kind, CellKind::Label) << "a fact without its label";
            EXPECT_EQ(row.at(1).kind == CellKind::Hash, row[0].text == "SHA-256") << row[0].text;
        }
        for (const std::vector<Cell>& row : tables[1]->rows) {
            for (const Cell& cell : row) {
                EXPECT_EQ(cell.kind, CellKind::Number) << cell.text;
            }
        }
        ASSERT_FALSE(tables[2]->rows.empty());
        EXPECT_EQ(tables[2]->rows[0][0].kind, CellKind::Text) << "a band's name is no number";
        for (const Picture* picture : blocksOf<Picture>(list)) {
            ids.push_back(picture->id);
            EXPECT_GT(picture->size.width, 0);
        }
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"list0", "list1"}));
    const Document alone = reportDocument(kHeading, {passing});
    ASSERT_EQ(alone.sections.size(), 1U) << "one list needs no summary";
    EXPECT_FALSE(alone.sections[0].ownPage);
}

TEST(ReportText, ReadsAsAnEngineerWritesIt) {
    const std::pair<std::string, std::string> rows[] = {
        {marginMeaning(-1.65887), "every level must come down by 1.66 dB"},
        {printableText("a\nb\x1b"), "a\\x0ab\\x1b"},  // control bytes cannot break a line
        {printableText("\xff\xc3\xa4"), "\xEF\xBF\xBD\xC3\xA4"},
        {printableText("\xed\xa0\x80"),
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a lone surrogate
        {isoTimeText(1796622355, std::nullopt), "2026-12-07T05:45:55Z"},
        {isoTimeText(-1, std::nullopt), "1969-12-31T23:59:59Z"},  // rounded down, not to zero
        {isoTimeText(-1, 330), "1970-01-01T05:29:59+05:30"},
        {isoTimeText(951782400, -480), "2000-02-28T16:00:00-08:00"},  // back over a leap day
        {isoTimeText(951782400, 0), "2000-02-29T00:00:00+00:00"},     // a local time at UTC
        {isoTimeText(-2203891200 - 1, std::nullopt), "1900-02-28T23:59:59Z"},  // 1900 has none
        {isoTimeText(-62135596800, std::nullopt), "0001-01-01T00:00:00Z"},
    };
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(text, expected);
    }
}

// SOURCE_DATE_EPOCH as the reproducible-builds convention sets it, or not at all; the clock
// says 42.
TEST(ReportTime, EvaluationTimeIsSourceDateEpochInUtcOrTheClockInLocalTime) {
    const struct {
        const char* name;
        const char* variable;
        std::string expected;  // "UTC 0", "local 42", or what the refusal must say
    } rows[] = {
        {"unset: the clock, shown in local time", nullptr, "local 42"},
        {"set: its instant, shown in UTC", "1796622355", "UTC 1796622355"},
        {"the first second", "0", "UTC 0"},
        {"the last second of year 9999", "253402300799", "UTC 253402300799"},
        {"a five-digit year", "253402300800", "not '253402300800'"},
        {"negative", "-1", "not '-1'"},
        {"with an exponent", "1e9", "not '1e9'"},
        {"with a space", " 5", "not ' 5'"},
        {"empty", "", "not ''"},
        {"more digits than any time has", "0000000000000001", "not '0000000000000001'"},
        {"control bytes cannot reach the terminal", "\x1b[2J", "not '\\x1b[2J'"},
    };
    for (const auto& row : rows) {
        const auto time = evaluationTimeFor(row.variable, 42);
        const auto* evaluated = std::get_if<EvaluationTime>(&time);
        const std::string text = evaluated
                                     ? (evaluated->zone == TimeZoneShown::Utc ? "UTC " : "local ") +
                                           std::to_string(evaluated->seconds)
                                     : std::get<std::string>(time);
        EXPECT_NE(text.find(row.expected), std::string::npos) << row.name << ": " << text;
    }
}

#if !defined(_WIN32)
// The machine's zone as TZ gives it, with rules that need no time-zone database.
TEST(ReportTime, LocalTimesCarryTheOffsetOfTheirOwnInstant) {
    const char* saved = std::getenv("TZ");
    const std::string previous = saved != nullptr ? saved : "";
    const struct {
        const char *zone, *expected;
        std::int64_t seconds;
    } rows[] = {
        {"XST-5:30", "1970-01-01T05:29:59+05:30", -1},
        {"CET-1CEST,M3.5.0,M10.5.0/3", "2026-12-07T06:45:55+01:00", 1796622355},
        {"CET-1CEST,M3.5.0,M10.5.0/3", "2026-07-01T14:00:00+02:00", 1782907200},
        {"YST8", "2000-02-28T16:00:00-08:00", 951782400},
        {"UTC0", "2026-12-07T05:45:55+00:00", 1796622355},
    };
    for (const auto& row : rows) {
        ::setenv("TZ", row.zone, 1);
        ::tzset();
        EXPECT_EQ(timeText(row.seconds, TimeZoneShown::Local), row.expected) << row.zone;
    }
    if (saved != nullptr) {
        ::setenv("TZ", previous.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}
#endif

TEST(HtmlReport, HoldsEveryFieldOfTheRecord) {
    // A name that would be markup unless escaped.
    ListRecord record = failingRecord("lab/<script>run 7&.ASC");
    record.file = FileFacts{2048, -1, std::string(64, 'a')};
    ListRecord rewritten = failingRecord("rewritten.ASC");
    rewritten.fileWrittenAfterReading = true;
    const std::string html = reportHtml(kHeading, {record});
    for (const std::string& field :
         std::vector<std::string>{record.resultLine, "0x", "2048 bytes", "1969-12-31T23:59:59Z",
                                  "<span class=\"mono\">" + std::string(64, 'a') + "</span>",
                                  "1.0.0", "2026-12-07T05:45:55Z", "end of file",
                                  "lab/&lt;script&gt;run 7&amp;.ASC", "100 kHz - 1 MHz"}) {
        EXPECT_NE(html.find(field), std::string::npos) << field;
    }
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("Summary"), std::string::npos) << "one list needs no summary";
    const std::string withheld = reportHtml(kHeading, {rewritten});
    EXPECT_NE(withheld.find("written to after it was read"), std::string::npos);
    EXPECT_EQ(withheld.find("SHA-256</th>"), std::string::npos) << "facts of another file";
}

// Each list's picture inline as SVG, whose ids must not clash with another list's in the same
// document, and each list on a printed page of its own after the summary.
TEST(HtmlReport, PicturesInlineWithIdsOfTheirOwnAndEachListOnItsOwnPage) {
    std::vector<ListRecord> records{failingRecord("a.ASC"), failingRecord("b.ASC")};
    for (ListRecord& record : records) {
        EXPECT_TRUE(record.picture->chart.series.at(0).points.empty()) << "a record keeps no list";
    }
    const std::string html = reportHtml(kHeading, records);
    EXPECT_NE(html.find("Summary"), std::string::npos);
    // Each part and how often it comes: one picture and one page per list, and each list's ids.
    const std::pair<std::string, std::size_t> parts[] = {
        {"<svg", 2}, {"id=\"list0-", 1}, {"id=\"list1-", 1}, {"class=\"list\"", 2}};
    for (const auto& [part, times] : parts) {
        std::size_t count = 0;
        for (std::size_t at = html.find(part); at != std::string::npos;
             at = html.find(part, at + 1)) {
            ++count;
        }
        EXPECT_EQ(count, times) << part;
    }
    EXPECT_EQ(html.find("<?xml"), std::string::npos) << "an XML declaration inside HTML";
}

void append(const std::filesystem::path& file, const char* text) {
    std::ofstream(file, std::ios::binary | std::ios::app) << text;
}

// A list read, then its file's facts taken later, as the dialog's Details takes them: only while
// the file is still the one that was read.
TEST(FileFacts, AreThoseOfTheBytesReadOrNone) {
    const std::string list = "1000,120\n3000,80\nEnd of scan\n";
    const std::string digest = "590ea545446517f5b03d48f5a336fa2a4441b3e478ba8c96775f50ec1878e809";
    // A last write before 1970, which a file system keeps as a negative time.
    const std::int64_t written = -31536000;
    const struct {
        const char* name;
        std::function<void(const std::filesystem::path&)> change;
        bool kept;
    } rows[] = {
        {"untouched: size, time and hash of the bytes read", [](const auto&) {}, true},
        {"appended to", [](const auto& file) { append(file, "1000,100\n"); }, false},
        {"rewritten with other bytes of the same size and time",
         [](const auto& file) {
             const auto time = std::filesystem::last_write_time(file);
             std::ofstream(file, std::ios::binary) << "1000,120\n3000,80\nEnd of SCAN\n";
             std::filesystem::last_write_time(file, time);
         },
         false},
        {"replaced under its name by a copy",
         [](const auto& file) {
             std::filesystem::copy_file(file, file.string() + ".copy");
             std::filesystem::last_write_time(file.string() + ".copy",
                                              std::filesystem::last_write_time(file));
             std::filesystem::rename(file.string() + ".copy", file);
         },
         false},
        {"removed", [](const auto& file) { std::filesystem::remove(file); }, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const TemporaryFolder folder;
        const std::filesystem::path file = folder.write("list.ASC", list);
        std::filesystem::last_write_time(
            file, std::chrono::file_clock::from_sys(
                      std::chrono::sys_seconds{std::chrono::seconds{written}}));
        ListFileStamp stamp;
        const EvaluatedList read = evaluateListFile("list.ASC", file, {}, FactsWanted::Yes, &stamp);
        ASSERT_TRUE(read.facts.has_value());
        EXPECT_EQ(read.facts->sha256, digest);
        EXPECT_EQ(read.facts->size, list.size());
        EXPECT_EQ(read.facts->modifiedSeconds, written);
        row.change(file);
        const std::optional<FileFacts> later = factsOfReadFile(file, stamp);
        ASSERT_EQ(later.has_value(), row.kept);
        EXPECT_TRUE(!later || later->modifiedSeconds == written);
    }

    // Written to while its bytes were read and hashed.
    const TemporaryFolder folder;
    const std::filesystem::path file = folder.write("list.ASC", list);
    bool appended = false;
    const ContentSink appending = [&](std::span<const unsigned char>) {
        if (!std::exchange(appended, true)) {
            append(file, "1000,100\n");
        }
    };
    const ListFileReading reading = readListFile(file, &appending);
    EXPECT_EQ(reading.points.size(), 2U) << "the list read before the write";
    // Windows refuses the write while the file is open for reading; elsewhere it lands.
    EXPECT_EQ(reading.contentsTaken, testing::contentOf(file) == list)
        << "facts of bytes that were not read, or none of bytes that were";
}

}  // namespace
}  // namespace ambersel::report
