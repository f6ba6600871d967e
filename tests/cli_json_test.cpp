// ambersel-eval's machine-readable reports: the JSON document, the per-point table and the
// heaviest points, checked against the evaluation core bit for bit.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

struct ListCase {
    const char* name;
    std::string content;
    Json stop;
    const char* figureText;           // nullptr: not known beforehand
    std::string top;                  // the two heaviest points, counted from 1; empty: not checked
    std::optional<double> topShares;  // their shares of F added up; none: F is not finite
};

void PrintTo(const ListCase& c, std::ostream* out) {
    *out << c.name;
}

class Reports : public ::testing::TestWithParam<ListCase> {};

TEST_P(Reports, CarryTheCoresFigureToTheBit) {
    const ListCase& c = GetParam();
    const TemporaryFolder folder;
    // Bytes that are not UTF-8 become U+FFFD in JSON; a comma and a quote must not shift columns.
    const std::string name = "m\xE9ssung, \"1\".ASC";
    const FrequencyLevelList points = readListFile(folder.write(name, c.content)).points;
    const TestVerdict core = evaluateTestFigure(points);

    const std::string json =
        runEvaluator(folder.path(), {"--json", "--points", "--top", "2", name, "missing.ASC"}).out;
    const Json document = Json::parse(json);
    ASSERT_EQ(document.size(), 2U);
    const Json& object = document[0];
    EXPECT_EQ(object.at("path"), "m\uFFFDssung, \"1\".ASC");
    EXPECT_EQ(object.at("verdict"), core.failed ? "FAIL" : "PASS");
    EXPECT_EQ(object.at("line"), formatVerdictUtf8(core));
    EXPECT_EQ(object.at("point_count"), points.size());
    EXPECT_EQ(object.at("stop"), c.stop);
    EXPECT_TRUE(object.at("error").is_null());
    const std::string bits = object.at("figure_bits");
    EXPECT_EQ(bits.size(), 10U);
    EXPECT_EQ(std::stoul(bits, nullptr, 16), bitsOf(core.figure)) << bits;
    const std::string text = object.at("figure_text");
    EXPECT_TRUE(c.figureText == nullptr || text == c.figureText) << text;
    const Json& running = object.at("points").back().at("running_figure");
    if (std::isfinite(core.figure)) {
        EXPECT_EQ(bitsOf(std::stof(text)), bitsOf(core.figure)) << text;
        EXPECT_EQ(bitsOf(object.at("figure").get<float>()), bitsOf(core.figure));
        EXPECT_EQ(bitsOf(running.get<float>()), bitsOf(core.figure));
        // The number itself is the shortest decimal too, not a widened double.
        const std::size_t start = json.find("\"figure\":") + 9;
        const std::string number = json.substr(start, json.find(',', start) - start);
        EXPECT_TRUE(number == text || number == text + ".0") << number << " vs " << text;
    } else {
        EXPECT_TRUE(object.at("figure").is_null() && running.is_null()) << object.dump();
        EXPECT_EQ(text, std::string(std::signbit(core.figure) ? "-" : "") +
                            (std::isnan(core.figure) ? "nan" : "inf"));
    }
    EXPECT_EQ(object.at("points").size(), points.size());
    EXPECT_EQ(document[1].at("verdict"), "ERROR");
    for (const char* field : {"line", "figure", "figure_text", "figure_bits", "stop"}) {
        EXPECT_TRUE(document[1].at(field).is_null()) << field;
    }
    EXPECT_FALSE(document[1].at("error").get<std::string>().empty());

    // The list twice: one header, and the second copy counts from 1 again.
    const std::vector<std::string> lines =
        linesOf(runEvaluator(folder.path(), {"--points", name, name}).out);
    ASSERT_EQ(lines.size(), 2 * points.size() + 1);
    EXPECT_EQ(lines[0], "path,index,frequency_Hz,level_dBuV,a,b,V,Z,w,s,K,D,term,running_F");
    for (const std::string& last : {lines[points.size()], lines.back()}) {
        const std::string start =
            "\"m\xE9ssung, \"\"1\"\".ASC\"," + std::to_string(points.size()) + ",";
        EXPECT_TRUE(last.starts_with(start)) << last;
        EXPECT_EQ(std::count(last.begin() + start.size(), last.end(), ','), 11) << last;
        EXPECT_EQ(last.substr(last.rfind(',') + 1), text) << "running F, to the bit";
    }

    if (c.top.empty()) {
        return;
    }
    const std::vector<std::string> topLines =
        linesOf(runEvaluator(folder.path(), {"--top", "2", name}).out);
    ASSERT_EQ(topLines.size(), object.at("top").size() + 1);
    std::string top;
    double shares = 0;
    for (std::size_t rank = 0; rank < object.at("top").size(); ++rank) {
        const Json& entry = object.at("top")[rank];
        const std::string index = std::to_string(entry.at("index").get<int>());
        top += (rank == 0 ? "" : " ") + index;
        EXPECT_TRUE(topLines[rank + 1].starts_with("  " + std::to_string(rank + 1) + ". point " +
                                                   index + ": "))
            << topLines[rank + 1];
        EXPECT_EQ(entry.at("share").is_null(), !c.topShares) << entry;
        shares += c.topShares ? entry.at("share").get<double>() : 0;
    }
    EXPECT_EQ(top, c.top);
    EXPECT_NEAR(shares, c.topShares.value_or(0), 1e-6);
}

const Json kWholeFile = {{"reason", "end_of_file"}, {"line", nullptr}, {"excerpt", nullptr}};

INSTANTIATE_TEST_SUITE_P(
    Cases, Reports,
    ::testing::Values(
        ListCase{"a_pass_with_its_shortest_decimal", "1000,100\n", kWholeFile, "0.12104408", "1",
                 1.0},
        ListCase{"a_fail_cut_short_by_bytes_that_are_not_utf8", "1000,120\n\xFF\xFE bad\n",
                 Json{{"reason", "malformed_item"}, {"line", 2}, {"excerpt", "\uFFFD\uFFFD bad"}},
                 nullptr, "1", 1.0},
        ListCase{"the_heaviest_first_whatever_the_list_order", "30,60\n1000,100\n", kWholeFile,
                 nullptr, "2 1", 1.0},
        ListCase{"a_sum_that_rounds_and_ties_in_list_order",
                 "1000,100\n1000,100\n1000,100\n1000,100\n1000,100\n1000,100\n1000,100\n1000,"
                 "100\n1000,100\n",
                 kWholeFile, nullptr, "1 2", 2.0 / 9},
        ListCase{"an_infinite_figure", "2000,80\n0,50\n", kWholeFile, "inf", "2 1", std::nullopt},
        ListCase{"a_negative_infinite_figure", "-0,50\n", kWholeFile, "-inf", "1", std::nullopt},
        ListCase{"the_point_that_makes_f_not_a_number_comes_first", "1000,120\n-5,40\n2000,80\n",
                 kWholeFile, nullptr, "2 1", std::nullopt},
        ListCase{"a_real_scan",
                 contentOf(AMBERSEL_SOURCE_TREE "/examples/switching_supply_fail.ASC"), kWholeFile,
                 nullptr, "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ambersel::testing
