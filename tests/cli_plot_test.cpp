// ambersel-eval's pictures, checked as files another program must open, driven as a script drives
// it.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QXmlStreamReader>

#include <ostream>
#include <string>
#include <vector>

#include "cli_process.h"
#include "test_files.h"

namespace ambersel::testing {
namespace {

// The pictures, checked as files another program must open.
struct PlotCase {
    const char* name;
    std::string content;
    bool fromStandardInput;  // drawn as {name} "stdin"; else as the list file's "list"
    int exitStatus;
    const char* mention;  // a text the picture must show
};

void PrintTo(const PlotCase& c, std::ostream* out) {
    *out << c.name;
}

class Plots : public ::testing::TestWithParam<PlotCase> {};

// Drawn with no display, whatever the environment asks for.
TEST_P(Plots, AreValidSvgAndPngWithoutADisplay) {
    const PlotCase& c = GetParam();
    const TemporaryFolder folder;
    const std::string list =
        c.fromStandardInput ? "-" : folder.write("list.ASC", c.content).filename().string();
    for (const char* extension : {".svg", ".PNG"}) {
        const EvaluatorRun run = runEvaluator(
            folder.path(), {"--plot", std::string("{name}") + extension, list}, c.content,
            {"QT_QPA_PLATFORM=xcb", "DISPLAY=", "WAYLAND_DISPLAY=", "XDG_RUNTIME_DIR="});
        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
        ASSERT_EQ(linesOf(run.out).size(), 1U) << "the result line is still printed";
        for (const std::string& line : linesOf(run.err)) {
            EXPECT_TRUE(line.starts_with("warning: ")) << line;
        }
        const std::string bytes = contentOf(
            folder.path() / ((c.fromStandardInput ? "stdin" : "list") + std::string(extension)));
        if (std::string(extension) == ".svg") {
            QXmlStreamReader reader(QByteArray::fromStdString(bytes));
            QString root;
            while (!reader.atEnd()) {
                reader.readNext();
                root = root.isEmpty() && reader.isStartElement() ? reader.name().toString() : root;
            }
            EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
            EXPECT_EQ(root.toStdString(), "svg");
            EXPECT_LT(bytes.size(), 8U << 20);
            EXPECT_NE(bytes.find(">" + linesOf(run.out)[0] + "<"), std::string::npos) << "title";
            EXPECT_NE(bytes.find(c.mention), std::string::npos) << c.mention;
        } else {
            QImage image;
            ASSERT_TRUE(bytes.starts_with("\x89PNG\r\n\x1a\n") &&
                        image.loadFromData(QByteArray::fromStdString(bytes), "PNG"));
            EXPECT_TRUE(image.width() >= 600 && image.width() <= 4000 && image.height() >= 400 &&
                        image.height() <= 4000)
                << image.width() << " x " << image.height();
            QImage blank(image.size(), image.format());
            blank.fill(image.pixel(0, 0));
            EXPECT_FALSE(image == blank) << "a blank picture";
        }
    }
}

// Points a few pixels apart are drawn as one: a long scan gives a picture of the size of a short
// one, not one element per point.
std::string longScan() {
    std::string scan;
    for (int i = 0; i < 200000; ++i) {
        scan += std::to_string(150000 + 149 * i) + "," + std::to_string(40 + i * 7919 % 30) + "\n";
    }
    return scan;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Plots,
    ::testing::Values(PlotCase{"a_failing_list_counts_the_points_no_log_axis_holds",
                               "1000,120\n-5,40\n0,50\n2000,90\n", false, 1, "2 not drawn"},
                      PlotCase{"standard_input_without_points", "", true, 0, "no points"},
                      PlotCase{"a_long_scan_gives_a_picture_of_bounded_size", longScan(), false, 1,
                               ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Whether `svg` holds each of `shown` and none of `notShown`.
::testing::AssertionResult showsTexts(const std::string& svg, const std::vector<std::string>& shown,
                                      const std::vector<std::string>& notShown) {
    for (const std::string& text : shown) {
        if (svg.find(text) == std::string::npos) {
            return ::testing::AssertionFailure() << "no " << text;
        }
    }
    for (const std::string& text : notShown) {
        if (svg.find(text) != std::string::npos) {
            return ::testing::AssertionFailure() << "shows " << text;
        }
    }
    return ::testing::AssertionSuccess();
}

// The bundled examples as an engineer compares them: on one picture, each with its verdict and
// margin in the legend and a row of bands, or alone with its margin beside its verdict.
TEST(ExamplePictures, ShowVerdictsMarginsAndBands) {
    struct Row {
        const char* name;
        std::vector<std::string> lists;
        std::string target;  // without extension
        int exitStatus;
        std::vector<std::string> shown;  // texts of the picture
        std::vector<std::string> notShown;
    };
    const std::vector<std::string> both = {
        ">2 lists: 1 FAIL, 1 PASS<", ">switching_supply_fail.ASC<",
        ">FAIL : F = 1.1201<",       ">margin -0.99 dB<",
        ">emission_150k_30M.ASC<",   ">PASS : F = 0.0092<",
        ">margin +40.71 dB<",        ">share of F<"};
    const Row rows[] = {
        {"two lists on one picture",
         {"switching_supply_fail.ASC", "emission_150k_30M.ASC"},
         "both",
         1,
         both,
         {}},
        {"a list that cannot be read is left out",
         {"switching_supply_fail.ASC", "missing.ASC", "emission_150k_30M.ASC"},
         "both",
         2,
         both,
         {"missing", ">3 lists"}},
        {"one list alone",
         {"switching_supply_fail.ASC"},
         "{name}",
         1,
         {">FAIL : F = 1.1201<", ">margin -0.99 dB<", ">switching_supply_fail.ASC<",
          ">share of F<"},
         {">Lists<"}},
    };
    for (const Row& row : rows) {
        const TemporaryFolder folder;
        for (const char* example : {"switching_supply_fail.ASC", "emission_150k_30M.ASC"}) {
            folder.write(example,
                         contentOf(std::string(AMBERSEL_SOURCE_TREE "/examples/") + example));
        }
        std::vector<std::string> arguments{"--plot", row.target + ".svg"};
        arguments.insert(arguments.end(), row.lists.begin(), row.lists.end());
        const EvaluatorRun run = runEvaluator(folder.path(), arguments);
        EXPECT_EQ(run.exitStatus, row.exitStatus) << row.name << ": " << run.err;
        const std::string drawn = row.lists.size() > 1 ? "both" : "switching_supply_fail";
        EXPECT_TRUE(
            showsTexts(contentOf(folder.path() / (drawn + ".svg")), row.shown, row.notShown))
            << row.name;
    }
}

}  // namespace
}  // namespace ambersel::testing
