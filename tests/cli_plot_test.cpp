// ambersel-eval's pictures, checked as files another program must open, driven
// as a script drives it.

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

struct PlotCase {
    const char* name;
    std::vector<std::string> lists;  // the bundled examples, "list.ASC" holding `content`, or "-"
    std::string content;
    std::string target;  // without extension
    std::string drawn;   // the picture's name without extension
    int exitStatus;
    std::vector<std::string> shown = {};  // texts of the picture
    std::vector<std::string> notShown = {};
};

void PrintTo(const PlotCase& c, std::ostream* out) {
    *out << c.name;
}

class Plots : public ::testing::TestWithParam<PlotCase> {};

// Drawn with no display, whatever the environment asks for.
TEST_P(Plots, AreValidSvgAndPngWithoutADisplay) {
    const PlotCase& c = GetParam();
    const TemporaryFolder folder;
    folder.write("list.ASC", c.content);
    for (const char* example : {"switching_supply_fail.ASC", "emission_150k_30M.ASC"}) {
        folder.write(example, contentOf(std::string(AMBERSEL_SOURCE_TREE "/examples/") + example));
    }
    for (const std::string extension : {".svg", ".PNG"}) {
        std::vector<std::string> arguments{"--plot", c.target + extension};
        arguments.insert(arguments.end(), c.lists.begin(), c.lists.end());
        const EvaluatorRun run = runEvaluator(
            folder.path(), arguments, c.content,
            {"QT_QPA_PLATFORM=xcb", "DISPLAY=", "WAYLAND_DISPLAY=", "XDG_RUNTIME_DIR="});
        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
        ASSERT_FALSE(linesOf(run.out).empty()) << "the result lines are still printed";
        for (const std::string& line : linesOf(run.err)) {
            EXPECT_TRUE(line.starts_with("warning: ") || c.exitStatus == 2) << line;
        }
        const std::string bytes = contentOf(folder.path() / (c.drawn + extension));
        if (extension == ".svg") {
            QXmlStreamReader reader(QByteArray::fromStdString(bytes));
            QString root;
            while (!reader.atEnd()) {
                reader.readNext();
                root = root.isEmpty() && reader.isStartElement() ? reader.name().toString() : root;
            }
            EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
            EXPECT_EQ(root.toStdString(), "svg");
            EXPECT_LT(bytes.size(), 8U << 20);
            EXPECT_TRUE(c.lists.size() > 1 ||
                        bytes.find(">" + linesOf(run.out)[0] + "<") != std::string::npos)
                << "the result line as title";
            EXPECT_TRUE(showsTexts(bytes, c.shown, c.notShown));
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

// Points a few pixels apart are drawn as one: a long scan gives a picture of
// the size of a short one, not one element per point.
std::string longScan() {
    std::string scan;
    for (int i = 0; i < 200000; ++i) {
        scan += std::to_string(150000 + 149 * i) + "," + std::to_string(40 + i * 7919 % 30) + "\n";
    }
    return scan;
}

// The bundled examples as an engineer compares them: on one picture, each with
// its verdict and margin in the legend and a row of bands, or alone with its
// margin beside its verdict.
INSTANTIATE_TEST_SUITE_P(
    Cases, Plots,
    ::testing::Values(
        PlotCase{"a_failing_list_counts_the_points_no_log_axis_holds",
                 {"list.ASC"},
                 "1000,120\n-5,40\n0,50\n2000,90\n",
                 "{name}",
                 "list",
                 1,
                 {"2 not drawn"}},
        PlotCase{"standard_input_without_points", {"-"}, "", "{name}", "stdin", 0, {"no points"}},
        PlotCase{"a_long_scan_gives_a_picture_of_bounded_size",
                 {"list.ASC"},
                 longScan(),
                 "{name}",
                 "list",
                 1},
        PlotCase{"two_lists_on_one_picture_and_one_that_cannot_be_read_left_out",
                 {"switching_supply_fail.ASC", "missing.ASC", "emission_150k_30M.ASC"},
                 "",
                 "both",
                 "both",
                 2,
                 {">2 lists: 1 FAIL, 1 PASS<", ">switching_supply_fail.ASC<", ">FAIL : F = 1.1201<",
                  ">margin -0.99 dB<", ">emission_150k_30M.ASC<", ">PASS : F = 0.0092<",
                  ">margin +40.71 dB<", ">share of F<"},
                 {"missing", ">3 lists"}},
        PlotCase{"one_list_alone_with_its_margin_and_no_legend",
                 {"switching_supply_fail.ASC"},
                 "",
                 "{name}",
                 "switching_supply_fail",
                 1,
                 {">margin -0.99 dB<", ">switching_supply_fail.ASC<", ">share of F<"},
                 {">Lists<"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ambersel::testing
