#include "report/html_report.h"
#include "report/report_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace ambersel::report {
namespace {

ListRecord failingRecord(std::string name) {
    const FrequencyLevelList points{{150e3F, 90}, {1e6F, 80}, {20e6F, 70}, {1000, 120}};
    return recordOf(std::move(name), points, ReadingStop{}, {});
}

const ReportHeading kHeading{"1.0.0", "2026-12-07 09:14:05 +0100"};

TEST(ReportText, ReadsAsAnEngineerWritesIt) {
    const std::pair<std::string, std::string> rows[] = {
        {marginMeaning(-1.65887), "every level must come down by 1.66 dB"},
        {printableText("a\nb\x1b"), "a\\x0ab\\x1b"},  // control bytes cannot break a line
        {printableText("\xff\xc3\xa4"), "\xEF\xBF\xBD\xC3\xA4"},
        {printableText("\xed\xa0\x80"),
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}};  // a lone surrogate
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(text, expected);
    }
}

TEST(HtmlReport, HoldsEveryFieldOfTheRecord) {
    // A name that would be markup unless escaped.
    ListRecord record = failingRecord("lab/<script>run 7&.ASC");
    record.file = FileFacts{2048, "2026-12-01 08:00:00 UTC", std::string(64, 'a')};
    const std::string html = reportHtml(kHeading, {record}, PictureSource::DataUri);
    for (const std::string& field : std::vector<std::string>{
             record.resultLine, "0x", "2048 bytes", "2026-12-01 08:00:00 UTC", std::string(64, 'a'),
             "1.0.0", "2026-12-07 09:14:05 +0100", "end of file",
             "lab/&lt;script&gt;run 7&amp;.ASC", "100 kHz - 1 MHz"}) {
        EXPECT_NE(html.find(field), std::string::npos) << field;
    }
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("Summary"), std::string::npos) << "one list needs no summary";
}

TEST(HtmlReport, PicturesInlineOrByNameAndEachListOnItsOwnPage) {
    std::vector<ListRecord> records{failingRecord("a.ASC"), failingRecord("b.ASC")};
    records[0].picturePng = "PNG";  // three bytes: one base64 group without padding
    records[1].picturePng = "PN";
    const std::string inline_ = reportHtml(kHeading, records, PictureSource::DataUri);
    EXPECT_NE(inline_.find("data:image/png;base64,UE5H\""), std::string::npos);
    EXPECT_NE(inline_.find("data:image/png;base64,UE4=\""), std::string::npos);
    EXPECT_NE(inline_.find("Summary"), std::string::npos);
    const std::string named = reportHtml(kHeading, records, PictureSource::ResourceName);
    EXPECT_NE(named.find("src=\"picture-1.png\""), std::string::npos);
    std::size_t pages = 0;
    for (std::size_t at = named.find("class=\"list\""); at != std::string::npos;
         at = named.find("class=\"list\"", at + 1)) {
        ++pages;
    }
    EXPECT_EQ(pages, 2U);
}

}  // namespace
}  // namespace ambersel::report
