// ambersel-eval's machine-readable reports: the JSON document, the per-point table and the
// heaviest points, checked against the evaluation core bit for bit.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_process.h"
#include "evaluation/list_file.h"
#include "evaluation/test_figure.h"
#include "test_files.h"

namespace ambersel::testing {
namespace {

using Json = nlohmann::json;

Json parsedJson(const std::string& text) {
    // Throws on anything that is not one valid JSON document.
    return Json::parse(text);
}

std::uint32_t bitsFromHex(const std::string& text) {
    EXPECT_EQ(text.rfind("0x", 0), 0U) << text;
    EXPECT_EQ(text.size(), 10U) << text;
    std::uint32_t bits = 0;
    std::from_chars(text.data() + 2, text.data() + text.size(), bits, 16);
    return bits;
}

float floatFromText(const std::string& text) {
    float value = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(parsed.ec == std::errc() && parsed.ptr == text.data() + text.size()) << text;
    return value;
}

// Equal to the bit, with every not-a-number of the same sign counted as one.
bool sameFigure(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    }
    return bitsOf(a) == bitsOf(b);
}

// Checks that the object's F is the core's F, in every field that carries it.
void expectFigure(const Json& object, float core) {
    EXPECT_EQ(bitsFromHex(object.at("figure_bits").get<std::string>()), bitsOf(core));
    const std::string text = object.at("figure_text").get<std::string>();
    if (std::isfinite(core)) {
        EXPECT_EQ(bitsOf(floatFromText(text)), bitsOf(core)) << text;
        ASSERT_TRUE(object.at("figure").is_number()) << object.dump();
        EXPECT_EQ(bitsOf(static_cast<float>(object.at("figure").get<double>())), bitsOf(core));
    } else {
        EXPECT_TRUE(object.at("figure").is_null()) << object.dump();
        const std::string expected =
            std::string(std::signbit(core) ? "-" : "") + (std::isnan(core) ? "nan" : "inf");
        EXPECT_EQ(text, expected);
    }
}

struct JsonCase {
    const char* name;
    std::string content;
    FrequencyLevelList points;  // what the content holds, for the core's figure
    const char* verdict;
    Json stop;
    std::optional<std::string> figureText;  // when it is known beforehand
};

void PrintTo(const JsonCase& c, std::ostream* out) {
    *out << c.name;
}

class JsonFields : public ::testing::TestWithParam<JsonCase> {};

TEST_P(JsonFields, CarryTheCoresFigureAndWhereReadingStopped) {
    const JsonCase& c = GetParam();
    const TemporaryFolder folder;
    const std::string path = folder.write("list.ASC", c.content).string();
    const EvaluatorRun run = runEvaluator({"--json", path});
    const Json document = parsedJson(run.out);
    ASSERT_TRUE(document.is_array());
    ASSERT_EQ(document.size(), 1U);
    const Json& object = document[0];

    const TestVerdict core = evaluateTestFigure(c.points);
    EXPECT_EQ(object.at("path"), path);
    EXPECT_EQ(object.at("verdict"), c.verdict);
    EXPECT_EQ(object.at("line"), formatVerdictUtf8(core));
    EXPECT_EQ(object.at("point_count"), c.points.size());
    EXPECT_EQ(object.at("stop"), c.stop);
    EXPECT_TRUE(object.at("error").is_null());
    expectFigure(object, core.figure);
    if (std::isfinite(core.figure)) {
        // The number itself is written as the shortest decimal, not as a widened double (a
        // whole number may carry ".0").
        const std::string key = "\"figure\":";
        const std::size_t start = run.out.find(key) + key.size();
        const std::string number = run.out.substr(start, run.out.find(',', start) - start);
        const std::string text = object.at("figure_text").get<std::string>();
        EXPECT_TRUE(number == text || number == text + ".0") << number << " vs " << text;
    }
    if (c.figureText) {
        EXPECT_EQ(object.at("figure_text"), *c.figureText);
    }
    EXPECT_EQ(run.exitStatus, core.failed ? 1 : 0);
}

const Json kWholeFile = {{"reason", "end_of_file"}, {"line", nullptr}, {"excerpt", nullptr}};

Json stoppedAt(int line, const std::string& excerpt) {
    return {{"reason", "malformed_item"}, {"line", line}, {"excerpt", excerpt}};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JsonFields,
    ::testing::Values(
        JsonCase{"one_point_with_known_bits",
                 "1000,100\n",
                 {{1000, 100}},
                 "PASS",
                 kWholeFile,
                 "0.12104408"},
        JsonCase{"two_points_sum_in_single_precision",
                 "1000,100\n30,60\n",
                 {{1000, 100}, {30, 60}},
                 "PASS",
                 kWholeFile,
                 std::nullopt},
        JsonCase{"a_tiny_figure_survives_exponent_form",
                 "1000000,40\n",
                 {{1000000, 40}},
                 "PASS",
                 kWholeFile,
                 std::nullopt},
        JsonCase{"a_failing_figure", "1000,120\n", {{1000, 120}}, "FAIL", kWholeFile, std::nullopt},
        JsonCase{"an_empty_list", "", {}, "PASS", kWholeFile, "0"},
        JsonCase{"text_after_the_data",
                 "1,2\n3,4\nend\n5,6\n",
                 {{1, 2}, {3, 4}},
                 "PASS",
                 stoppedAt(3, "end"),
                 std::nullopt},
        JsonCase{"an_infinite_figure_is_null_with_its_text",
                 "0,50\n",
                 {{0, 50}},
                 "FAIL",
                 kWholeFile,
                 "inf"},
        JsonCase{"a_negative_infinite_figure_keeps_its_sign",
                 "-0,50\n",
                 {{-0.0F, 50}},
                 "FAIL",
                 kWholeFile,
                 "-inf"},
        JsonCase{"a_figure_that_is_not_a_number",
                 "1000,120\n-5,40\n",
                 {{1000, 120}, {-5, 40}},
                 "FAIL",
                 kWholeFile,
                 std::nullopt},
        JsonCase{"an_excerpt_that_is_not_utf8_still_gives_valid_json",
                 "1000,100\n\xFF\xFE bad\n",
                 {{1000, 100}},
                 "PASS",
                 stoppedAt(2, "\xEF\xBF\xBD\xEF\xBF\xBD bad"),
                 std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Json, OneObjectPerFileInArgumentOrder) {
    const TemporaryFolder folder;
    const std::string failing = folder.write("fail.ASC", "1000,120\n").string();
    const std::string strange = folder.write("m\xE9ssung \"1\".ASC", "1000,100\n").string();
    const std::string missing = (folder.path() / "missing.ASC").string();
    const EvaluatorRun run =
        runEvaluator({"--json", "-", failing, missing, strange}, withInput("30,60\n"));
    EXPECT_EQ(run.exitStatus, 2);
    const Json document = parsedJson(run.out);
    ASSERT_EQ(document.size(), 4U);
    EXPECT_EQ(document[0].at("path"), "-");
    EXPECT_EQ(document[0].at("verdict"), "PASS");
    EXPECT_EQ(document[1].at("verdict"), "FAIL");
    EXPECT_EQ(document[2].at("verdict"), "ERROR");
    for (const char* field : {"line", "figure", "figure_text", "figure_bits", "stop"}) {
        EXPECT_TRUE(document[2].at(field).is_null()) << field;
    }
    EXPECT_FALSE(document[2].at("error").get<std::string>().empty());
    EXPECT_EQ(document[3].at("verdict"), "PASS");
    // A byte that is not UTF-8 is replaced; the quotes are escaped by the JSON writer.
    EXPECT_EQ(document[3].at("path").get<std::string>(),
              (folder.path() / "m\xEF\xBF\xBDssung \"1\".ASC").string());
}

TEST(Json, ExampleListsGiveTheCoresBits) {
    const std::filesystem::path examples = std::filesystem::path(sourceFolder()) / "examples";
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        if (entry.path().extension() == ".ASC") {
            paths.push_back(entry.path().string());
        }
    }
    ASSERT_GE(paths.size(), 2U);
    std::vector<std::string> arguments = paths;
    arguments.push_back("--json");
    const EvaluatorRun run = runEvaluator(arguments);
    const Json document = parsedJson(run.out);
    ASSERT_EQ(document.size(), paths.size());
    bool anyFails = false;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const ListFileReading reading = readListFile(paths[i]);
        const TestVerdict core = evaluateTestFigure(reading.points);
        anyFails = anyFails || core.failed;
        EXPECT_EQ(document[i].at("path"), paths[i]);
        EXPECT_EQ(document[i].at("point_count"), reading.points.size());
        expectFigure(document[i], core.figure);
    }
    EXPECT_EQ(run.exitStatus, anyFails ? 1 : 0);
}

// Lists whose per-point table must end at F exactly: sums that round, non-finite terms, and a
// long real scan.
std::vector<std::pair<std::string, FrequencyLevelList>> tableLists() {
    std::string nineTimes;
    for (int i = 0; i < 9; ++i) {
        nineTimes += "1000,100\n";
    }
    return {
        {"1000,100\n30,60\n", {{1000, 100}, {30, 60}}},
        {"30,60\n1000,100\n", {{30, 60}, {1000, 100}}},
        {nineTimes, FrequencyLevelList(9, FrequencyLevelPoint{1000, 100})},
        {"1000,120\n-5,40\n2000,80\n", {{1000, 120}, {-5, 40}, {2000, 80}}},
        {"2000,80\n0,50\n", {{2000, 80}, {0, 50}}},
    };
}

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

TEST(PointTable, CsvEndsAtTheFigureToTheBit) {
    const TemporaryFolder folder;
    for (const auto& [content, points] : tableLists()) {
        // A comma and a quote in the name must not shift the columns.
        const std::string path = folder.write("scan, \"A\".ASC", content).string();
        const EvaluatorRun run = runEvaluator({"--points", path});
        const std::vector<std::string> lines = linesOf(run.out);
        ASSERT_EQ(lines.size(), points.size() + 1) << run.out;
        EXPECT_EQ(lines[0], "path,index,frequency_Hz,level_dBuV,a,b,V,Z,w,s,K,D,term,running_F");
        for (std::size_t row = 1; row < lines.size(); ++row) {
            const std::vector<std::string> fields = csvFields(lines[row]);
            ASSERT_EQ(fields.size(), 14U) << lines[row];
            EXPECT_EQ(fields[0], path);
            EXPECT_EQ(fields[1], std::to_string(row));
            EXPECT_EQ(bitsOf(floatFromText(fields[2])), bitsOf(points[row - 1].frequency));
            EXPECT_EQ(bitsOf(floatFromText(fields[3])), bitsOf(points[row - 1].level));
        }
        const float last = floatFromText(csvFields(lines.back()).back());
        EXPECT_TRUE(sameFigure(last, evaluateTestFigure(points).figure)) << content;
    }
}

TEST(PointTable, CsvOfSeveralFilesHasOneHeader) {
    const TemporaryFolder folder;
    const std::string a = folder.write("a.ASC", "1000,100\n").string();
    const std::string b = folder.write("b.ASC", "1000,120\n30,60\n").string();
    const EvaluatorRun run = runEvaluator({"--points", a, b});
    EXPECT_EQ(run.exitStatus, 1);
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 4U) << run.out;
    EXPECT_EQ(csvFields(lines[1])[0], a);
    EXPECT_EQ(csvFields(lines[2])[0], b);
    EXPECT_EQ(csvFields(lines[3])[1], "2");
}

TEST(PointTable, JsonPointsEndAtTheFigureToTheBit) {
    const TemporaryFolder folder;
    for (const auto& [content, points] : tableLists()) {
        const std::string path = folder.write("list.ASC", content).string();
        const EvaluatorRun run = runEvaluator({"--json", "--points", path});
        const Json object = parsedJson(run.out).at(0);
        const Json& rows = object.at("points");
        ASSERT_EQ(rows.size(), points.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].at("index"), i + 1);
        }
        const float figure = evaluateTestFigure(points).figure;
        const Json& last = rows.back().at("running_figure");
        if (std::isfinite(figure)) {
            EXPECT_EQ(bitsOf(static_cast<float>(last.get<double>())), bitsOf(figure));
        } else {
            EXPECT_TRUE(last.is_null()) << last;
        }
    }
}

TEST(PointTable, ExampleScanEndsAtItsFigure) {
    const std::string path = sourceFolder() + "/examples/switching_supply_fail.ASC";
    const EvaluatorRun run = runEvaluator({"--points", path});
    const float last = floatFromText(csvFields(linesOf(run.out).back()).back());
    EXPECT_EQ(bitsOf(last), bitsOf(evaluateTestFigure(readListFile(path).points).figure));
    EXPECT_EQ(run.exitStatus, 1);
}

struct TopCase {
    const char* name;
    std::string content;
    std::size_t count;
    std::vector<int> indices;  // 1-based points, heaviest first
};

void PrintTo(const TopCase& c, std::ostream* out) {
    *out << c.name;
}

class HeaviestPoints : public ::testing::TestWithParam<TopCase> {};

TEST_P(HeaviestPoints, AreListedHeaviestFirst) {
    const TopCase& c = GetParam();
    const TemporaryFolder folder;
    const std::string path = folder.write("list.ASC", c.content).string();
    const std::string count = std::to_string(c.count);

    const Json top = parsedJson(runEvaluator({"--json", "--top", count, path}).out)[0].at("top");
    std::vector<int> jsonIndices;
    for (const Json& entry : top) {
        jsonIndices.push_back(entry.at("index").get<int>());
    }
    EXPECT_EQ(jsonIndices, c.indices);

    const std::vector<std::string> lines = linesOf(runEvaluator({"--top", count, path}).out);
    ASSERT_EQ(lines.size(), c.indices.size() + 1);
    EXPECT_EQ(lines[0].rfind("PASS : F = ", 0) == 0 || lines[0].rfind("FAIL : F = ", 0) == 0, true)
        << lines[0];
    for (std::size_t rank = 0; rank < c.indices.size(); ++rank) {
        const std::string start =
            "  " + std::to_string(rank + 1) + ". point " + std::to_string(c.indices[rank]) + ": ";
        EXPECT_EQ(lines[rank + 1].rfind(start, 0), 0U) << lines[rank + 1];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaviestPoints,
    ::testing::Values(
        TopCase{"the_heaviest_first_whatever_the_list_order",
                "30,60\n1000,100\n1000000,40\n",
                3,
                {2, 1, 3}},
        TopCase{"only_as_many_as_asked", "30,60\n1000,100\n1000000,40\n", 1, {2}},
        TopCase{"never_more_than_the_list_holds", "30,60\n1000,100\n", 10, {2, 1}},
        TopCase{"equal_points_keep_list_order", "1000,100\n1000,100\n1000,100\n", 2, {1, 2}},
        TopCase{"the_point_that_makes_f_not_a_number_comes_first",
                "1000,120\n2000,80\n-5,40\n",
                2,
                {3, 1}},
        TopCase{"an_empty_list_has_none", "", 3, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HeaviestPointsShares, AddUpToTheFigure) {
    const TemporaryFolder folder;
    const std::string path = folder.write("list.ASC", "1000,100\n30,60\n2000,90\n").string();
    const Json top = parsedJson(runEvaluator({"--json", "--top", "3", path}).out)[0].at("top");
    double shares = 0;
    for (const Json& entry : top) {
        shares += entry.at("share").get<double>();
    }
    EXPECT_NEAR(shares, 1.0, 1e-6);
    const std::vector<std::string> lines = linesOf(runEvaluator({"--top", "1", path}).out);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_NE(lines[1].find("% of F"), std::string::npos) << lines[1];
}

TEST(HeaviestPointsShares, AreUndefinedWhenTheFigureIsNotFinite) {
    const TemporaryFolder folder;
    const std::string path = folder.write("list.ASC", "1000,100\n0,50\n").string();
    const Json top = parsedJson(runEvaluator({"--json", "--top", "2", path}).out)[0].at("top");
    ASSERT_EQ(top.size(), 2U);
    EXPECT_EQ(top[0].at("index"), 2);
    EXPECT_TRUE(top[0].at("share").is_null());
    EXPECT_TRUE(top[1].at("share").is_null());
}

}  // namespace
}  // namespace ambersel::testing
