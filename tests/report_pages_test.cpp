#include "files/list_reading.h"
#include "plot/canvas/font_metrics.h"
#include "report/page_layout.h"
#include "report/record_document.h"
#include "report/report_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "test_files.h"

namespace ambersel::report {
namespace {

using plot::Face;
using testing::TemporaryFolder;

struct WrapCase {
    const char* name;
    std::string text;
    Face face;
    double width;
    std::vector<std::string> lines;
};

TEST(WrappedLines, BreakAfterASpaceElseBetweenCharactersAndNeverPastTheWidth) {
    const std::string hash = "978a426a1bdfd583ae4aca5007b5df85f8078dbaf54db2a71091d1371621c184";
    const std::vector<WrapCase> cases = {
        {"text that fits stays one line", "end of file", Face::Sans, 200, {"end of file"}},
        {"nothing is one empty line, not none", "", Face::Sans, 200, {""}},
        {"a break falls after the last space that fits",
         "passes with 40.71 dB to spare",
         Face::Sans,
         70,
         {"passes with", "40.71 dB to", "spare"}},
        {"a path without spaces is broken between characters",
         "/lab/lists/emission.ASC",
         Face::SansMono,
         8 * plot::textExtent("m", Face::SansMono, 8.5).width,
         {"/lab/lis", "ts/emiss", "ion.ASC"}},
        {"a hash that fits its column stays whole",
         hash,
         Face::SansMono,
         plot::textExtent(hash, Face::SansMono, 8.5).width,
         {hash}},
        {"characters of several bytes are never split",
         "ÄÖÜäöü",
         Face::Sans,
         2.5 * plot::textExtent("Ä", Face::Sans, 8.5).width,
         {"ÄÖ", "Üä", "öü"}},
        {"a column narrower than one character still takes one a line",
         "ab",
         Face::Sans,
         0.1,
         {"a", "b"}},
    };
    for (const WrapCase& row : cases) {
        const std::vector<std::string> lines = wrappedLines(row.text, row.face, 8.5, row.width);
        EXPECT_EQ(lines, row.lines) << row.name;
        for (const std::string& line : lines) {
            if (line.size() > 1 && row.width > 1) {
                EXPECT_LE(plot::textExtent(line, row.face, 8.5).width, row.width + 1e-9)
                    << row.name << ": " << line;
            }
        }
    }
}

// A list evaluated with its file's facts, as a report run reads it, and its section with evidence.
struct EvaluatedFile {
    EvaluatedList list;
    ListFileStamp stamp;
    std::filesystem::path path;
};

EvaluatedFile evaluated(const TemporaryFolder& folder, const std::string& content) {
    EvaluatedFile file;
    file.path = folder.write("list.ASC", content);
    file.list =
        evaluateListFile("list.ASC", file.path, recordScope(), FactsWanted::Yes, &file.stamp);
    return file;
}

const ReportHeading kHeading{"1.0.0", {1796622355, TimeZoneShown::Utc}};

Document documentOf(const EvaluatedFile& file) {
    Section section = listSection(kHeading, recordOf(file.list));
    section.files = listEvidence(file.list, file.path, file.stamp, "{\"x\":1}");
    std::vector<Section> sections;
    sections.push_back(std::move(section));
    return reportDocument(std::move(sections), {});
}

TEST(PdfReportFile, IsWrittenWholeOrNotAtAllWhenItsEvidenceChanged) {
    struct Case {
        const char* name;
        bool listWrittenToAfterwards;
        bool written;
    };
    for (const Case& row : {Case{"the list as it was evaluated is attached", false, true},
                            Case{"a list written to since refuses the report", true, false}}) {
        const TemporaryFolder folder;
        const EvaluatedFile file = evaluated(folder, "1000,100\n2000,90\n");
        ASSERT_TRUE(file.list.facts) << row.name;
        const Document document = documentOf(file);
        if (row.listWrittenToAfterwards) {
            folder.write("list.ASC", "1000,100\n2000,95\n");
        }
        const std::filesystem::path target = folder.path() / "r.pdf";
        const std::optional<std::string> why = writeReportFile(target, document, kHeading);
        EXPECT_EQ(!why, row.written) << row.name << ": " << why.value_or("");
        EXPECT_EQ(std::filesystem::exists(target), row.written) << row.name;
        // Nothing half-written beside it: only the list, and the report when it was written.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                                std::filesystem::directory_iterator()),
                  row.written ? 2 : 1)
            << row.name;
        if (why) {
            EXPECT_NE(why->find("list.ASC was changed after it was evaluated"), std::string::npos)
                << *why;
        }
    }
}

TEST(ReportId, FollowsTheListsAndTheTimeAndNothingElse) {
    const TemporaryFolder folder;
    const Document one = documentOf(evaluated(folder, "1000,100\n"));
    const Document same = documentOf(evaluated(folder, "1000,100\n"));
    const Document other = documentOf(evaluated(folder, "1000,101\n"));
    const ReportHeading later{"1.0.0", {1796622356, TimeZoneShown::Utc}};
    EXPECT_EQ(reportId(one, kHeading), reportId(same, kHeading));
    EXPECT_NE(reportId(one, kHeading), reportId(other, kHeading)) << "another list";
    EXPECT_NE(reportId(one, kHeading), reportId(one, later)) << "another time";
    EXPECT_TRUE(std::regex_match(reportId(one, kHeading),
                                 std::regex("[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}")));
}

}  // namespace
}  // namespace ambersel::report
