// JUnit XML as build servers read it: valid against schemas/junit.xsd whatever the lists' names
// hold, with the counts, outcomes and names a dashboard shows.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "results/junit_report.h"

namespace {

using ambersel::JunitCase;
using ambersel::JunitOutcome;
using ambersel::JunitRun;
namespace fs = std::filesystem;

const fs::path kSchema = fs::path(AMBERSEL_SOURCE_TREE) / "schemas" / "junit.xsd";

JunitRun sampleRun(std::vector<JunitCase> cases) {
    return JunitRun{"ambersel-eval", "1.0.0", "2026-12-07T05:45:55Z", "station-7",
                    std::move(cases)};
}

std::string xmlOf(const JunitRun& run) {
    std::ostringstream out;
    writeJunitXml(out, run);
    return out.str();
}

// xmllint's verdict on `xml` against the schema: its exit status, 0 when valid.
int schemaCheck(const std::string& xml, const std::string& name) {
    const fs::path file = fs::path(AMBERSEL_SCRATCH) / (name + ".xml");
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << xml;
    const std::string command = "xmllint --noout --schema '" + kSchema.string() + "' '" +
                                file.string() + "' 2>'" + file.string() + ".log'";
    return std::system(command.c_str());
}

TEST(JunitReport, IsValidWhateverTheNamesHold) {
    const std::vector<std::string> paths = {
        "lot/unit00001.ASC",
        "unit.ASC",
        "-",
        "a & b/<c> \"d\" 'e'.ASC",
        "lot/]]>.ASC",
        std::string("ctrl\x01\x1F\x7F/\ttab\nline\r.ASC"),
        "bad utf8 \xFF\xC0\xAF/\xED\xA0\x80.ASC",
        "noncharacters \xEF\xBF\xBE\xEF\xBF\xBF.ASC",
        "gr\xC3\xBC\xC3\x9F"
        "e/\xF0\x9F\x93\x88.ASC",
        "/",
        "",
    };
    std::vector<JunitCase> cases;
    for (const std::string& path : paths) {
        cases.push_back({path, JunitOutcome::Passed, "PASS : F = 0.1210", 18.34, "", 0.001});
        cases.push_back({path, JunitOutcome::Failed, "FAIL : F = 1.2104", -1.66, "", 0.25});
        cases.push_back({path, JunitOutcome::Failed, "FAIL : F = -nan", std::nullopt, "", 0});
        cases.push_back({path, JunitOutcome::Error, "", std::nullopt, path + ": no such file", 0});
    }
    EXPECT_EQ(schemaCheck(xmlOf(sampleRun(cases)), "hostile_names"), 0);
    EXPECT_EQ(schemaCheck(xmlOf(sampleRun({})), "no_lists"), 0);
}

TEST(JunitReport, TheSchemaRefusesWhatReadersCannotTake) {
    const std::string valid =
        xmlOf(sampleRun({{"lot/u.ASC", JunitOutcome::Passed, "", {}, "", 1}}));
    struct Row {
        const char* broken;
        std::string from;
        std::string to;
    };
    const std::vector<Row> rows = {
        {"a case without a name", " name=\"u.ASC\"", ""},
        {"a count in words", "tests=\"1\" failures", "tests=\"one\" failures"},
        {"a time with a comma", "time=\"1.000\"", "time=\"1,000\""},
        {"a case outside a suite", "  </testsuite>\n</testsuites>",
         "  </testsuite>\n<testcase name=\"x\"/></testsuites>"},
    };
    for (const Row& row : rows) {
        std::string xml = valid;
        const std::size_t at = xml.find(row.from);
        ASSERT_NE(at, std::string::npos) << row.broken;
        xml.replace(at, row.from.size(), row.to);
        EXPECT_NE(schemaCheck(xml, "broken"), 0) << row.broken << " passed the schema";
    }
}

TEST(JunitReport, CountsOutcomesAndSaysWhyEachFailed) {
    const std::string xml = xmlOf(sampleRun({
        {"lot/a.ASC", JunitOutcome::Passed, "PASS : F = 0.1210", 18.34, "", 0.5},
        {"lot/b.ASC", JunitOutcome::Failed, "FAIL : F = 1.2104", -1.656, "", 0.25},
        {"lot/c.ASC", JunitOutcome::Error, "", std::nullopt, "No such file or directory", 0.125},
    }));
    const std::vector<std::string> expected = {
        "<testsuites name=\"ambersel-eval\" tests=\"3\" failures=\"1\" errors=\"1\" "
        "time=\"0.875\">",
        "skipped=\"0\" time=\"0.875\" timestamp=\"2026-12-07T05:45:55Z\" hostname=\"station-7\">",
        "<property name=\"ambersel.version\" value=\"1.0.0\"/>",
        "<testcase classname=\"lot\" name=\"a.ASC\" time=\"0.500\"/>",
        "<failure type=\"FAIL\" message=\"FAIL : F = 1.2104, margin -1.66 dB\">"
        "FAIL : F = 1.2104\nmargin -1.66 dB</failure>",
        "<error type=\"ERROR\" message=\"No such file or directory\">No such file or "
        "directory</error>",
    };
    for (const std::string& piece : expected) {
        EXPECT_NE(xml.find(piece), std::string::npos) << piece << "\nin\n" << xml;
    }
}

TEST(JunitReport, NamesEachCaseByItsFolderAndFile) {
    struct Row {
        std::string path;
        std::string className;
        std::string name;
    };
    const std::vector<Row> rows = {
        {"lot42/unit00001.ASC", "lot42", "unit00001.ASC"},
        {"unit.ASC", ".", "unit.ASC"},
        {"/data/lots//lot42/u.ASC", "/data/lots//lot42", "u.ASC"},
        {"lot//u.ASC", "lot", "u.ASC"},
        {"/u.ASC", "/", "u.ASC"},
        {"-", ".", "-"},
    };
    for (const Row& row : rows) {
        const ambersel::JunitName name = ambersel::junitNameOf(row.path);
        EXPECT_EQ(name.className, row.className) << row.path;
        EXPECT_EQ(name.name, row.name) << row.path;
    }
}

}  // namespace
