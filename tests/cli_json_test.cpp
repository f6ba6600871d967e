// ambersel-eval's machine-readable reports: the JSON document, the per-point table and the
// heaviest points, checked against the evaluation core bit for bit.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

struct ListCase {
    const char* name;
    std::string content;
    Json stop;
    const char* figureText;  // nullptr: not known beforehand
};

void PrintTo(const ListCase& c, std::ostream* out) {
    *out << c.name;
}

// Bytes that are not UTF-8 become U+FFFD in JSON; a comma and a quote must not shift CSV columns.
const std::string kName = "m\xE9ssung, \"1\".ASC";

class Reports : public ::testing::TestWithParam<ListCase> {
  protected:
    void SetUp() override {
        points = readListFile(folder.write(kName, GetParam().content)).points;
        core = evaluateTestFigure(points);
    }

    const TemporaryFolder folder;
    FrequencyLevelList points;
    TestVerdict core;
};

TEST_P(Reports, JsonCarriesTheCoresFigureToTheBit) {
    const std::string json =
        runEvaluator(folder.path(), {"--json", "--points", "--top", "2", kName, "missing.ASC"}).out;
    const Json document = Json::parse(json);
    ASSERT_EQ(document.size(), 2U);
    const Json& object = document[0];
    EXPECT_EQ(object.at("path"), "m\uFFFDssung, \"1\".ASC");
    EXPECT_EQ(object.at("verdict"), core.failed ? "FAIL" : "PASS");
    EXPECT_EQ(object.at("line"), formatVerdictUtf8(core));
    EXPECT_EQ(object.at("point_count"), points.size());
    EXPECT_EQ(object.at("stop"), GetParam().stop);
    EXPECT_TRUE(object.at("error").is_null());
    EXPECT_EQ(std::stoul(object.at("figure_bits").get<std::string>(), nullptr, 16),
              bitsOf(core.figure));
    const std::string text = object.at("figure_text");
    EXPECT_TRUE(GetParam().figureText == nullptr || text == GetParam().figureText) << text;
    const Json& running = object.at("points").back().at("running_figure");
    if (std::isfinite(core.figure)) {
        EXPECT_EQ(bitsOf(object.at("figure").get<float>()), bitsOf(core.figure));
        EXPECT_EQ(bitsOf(running.get<float>()), bitsOf(core.figure));
        // The number itself is the shortest decimal too, not a widened double.
        const std::size_t start = json.find("\"figure\":") + 9;
        const std::string number = json.substr(start, json.find(',', start) - start);
        EXPECT_TRUE(number == text || number == text + ".0") << number << " vs " << text;
    } else {
        EXPECT_TRUE(object.at("figure").is_null() && running.is_null()) << object.dump();
    }
    // The margin, 20 log10(1/F) rounded to 0.01 dB, only where F is finite and above 0.
    if (std::isfinite(core.figure) && core.figure > 0) {
        EXPECT_NEAR(object.at("margin_db").get<double>(), -20 * std::log10(double{core.figure}),
                    0.005 + 1e-9);
    } else {
        EXPECT_TRUE(object.at("margin_db").is_null()) << object.at("margin_db");
    }
    EXPECT_EQ(object.at("points").size(), points.size());
    EXPECT_EQ(object.at("top").size(), std::min<std::size_t>(points.size(), 2));
    EXPECT_EQ(document[1].at("verdict"), "ERROR");
    for (const char* field : {"line", "figure", "figure_text", "figure_bits", "stop"}) {
        EXPECT_TRUE(document[1].at(field).is_null()) << field;
    }
    EXPECT_FALSE(document[1].at("error").get<std::string>().empty());
}

TEST_P(Reports, TableEndsEachListOnItsFigure) {
    // The list twice: one header, and the second copy counts from 1 again.
    const std::vector<std::string> lines =
        linesOf(runEvaluator(folder.path(), {"--points", kName, kName}).out);
    ASSERT_EQ(lines.size(), 2 * points.size() + 1);
    EXPECT_EQ(lines[0], "path,index,frequency_Hz,level_dBuV,a,b,V,Z,w,s,K,D,term,running_F");
    for (const std::string& last : {lines[points.size()], lines.back()}) {
        const std::string start =
            "\"m\xE9ssung, \"\"1\"\".ASC\"," + std::to_string(points.size()) + ",";
        EXPECT_TRUE(last.starts_with(start)) << last;
        EXPECT_EQ(std::count(last.begin() + start.size(), last.end(), ','), 11) << last;
        const float running = std::stof(last.substr(last.rfind(',') + 1));
        EXPECT_EQ(bitsOf(running), bitsOf(core.figure)) << "running F, to the bit: " << last;
    }
}

TEST_P(Reports, TopNamesTheHeaviestPointsOfTheJson) {
    const Json top =
        Json::parse(runEvaluator(folder.path(), {"--json", "--top", "2", kName}).out)[0].at("top");
    const std::vector<std::string> lines =
        linesOf(runEvaluator(folder.path(), {"--top", "2", kName}).out);
    // The result line, the margin line that heads the list, then one line per point.
    ASSERT_EQ(lines.size(), top.size() + 2);
    EXPECT_EQ(lines[0], formatVerdictUtf8(core));
    EXPECT_TRUE(lines[1].starts_with("  margin ")) << lines[1];
    for (std::size_t rank = 0; rank < top.size(); ++rank) {
        const std::string index = std::to_string(top[rank].at("index").get<int>());
        EXPECT_TRUE(lines[rank + 2].starts_with("  " + std::to_string(rank + 1) + ". point " +
                                                index + ": "))
            << lines[rank + 2];
    }
}

const Json kWholeFile = {{"reason", "end_of_file"}, {"line", nullptr}, {"excerpt", nullptr}};

INSTANTIATE_TEST_SUITE_P(
    Cases, Reports,
    ::testing::Values(
        ListCase{"a_pass_with_its_shortest_decimal", "1000,100\n", kWholeFile, "0.12104408"},
        ListCase{"a_fail_cut_short_by_bytes_that_are_not_utf8", "1000,120\n\xFF\xFE bad\n",
                 Json{{"reason", "malformed_item"}, {"line", 2}, {"excerpt", "\uFFFD\uFFFD bad"}},
                 nullptr},
        ListCase{"an_infinite_figure", "2000,80\n0,50\n", kWholeFile, "inf"},
        ListCase{"a_real_scan",
                 contentOf(AMBERSEL_SOURCE_TREE "/examples/switching_supply_fail.ASC"), kWholeFile,
                 nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ambersel::testing
