// ambersel-eval --plot: the pictures it writes, checked as files another program must open.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QXmlStreamReader>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "cli_process.h"
#include "test_files.h"

namespace ambersel::testing {
namespace {

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The text of an SVG document when it is well-formed XML with an <svg> root, else a failure.
::testing::AssertionResult isSvg(const std::string& bytes) {
    QXmlStreamReader reader(QByteArray::fromStdString(bytes));
    bool root = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && !root) {
            root = true;
            if (reader.name() != QStringLiteral("svg")) {
                return ::testing::AssertionFailure()
                       << "root element is " << reader.name().toString().toStdString();
            }
        }
    }
    if (reader.hasError()) {
        return ::testing::AssertionFailure() << reader.errorString().toStdString();
    }
    if (!root) {
        return ::testing::AssertionFailure() << "no element";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult isPng(const std::string& bytes) {
    if (bytes.rfind("\x89PNG\r\n\x1a\n", 0) != 0) {
        return ::testing::AssertionFailure() << "no PNG signature";
    }
    QImage image;
    if (!image.loadFromData(QByteArray::fromStdString(bytes), "PNG")) {
        return ::testing::AssertionFailure() << "does not decode";
    }
    if (image.width() < 600 || image.width() > 4000 || image.height() < 400 ||
        image.height() > 4000) {
        return ::testing::AssertionFailure() << image.width() << " x " << image.height();
    }
    // A picture of a spectrum is not one colour.
    const QImage small = image.scaled(64, 36);
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            if (small.pixel(x, y) != small.pixel(0, 0)) {
                return ::testing::AssertionSuccess();
            }
        }
    }
    return ::testing::AssertionFailure() << "a blank picture";
}

struct PlotCase {
    const char* name;
    std::string content;
    int exitStatus;
    std::vector<std::string> svgMentions;  // texts the picture must show
};

void PrintTo(const PlotCase& c, std::ostream* out) {
    *out << c.name;
}

class Plots : public ::testing::TestWithParam<PlotCase> {};

TEST_P(Plots, AreValidSvgAndPng) {
    const PlotCase& c = GetParam();
    const TemporaryFolder folder;
    const std::string list = folder.write("list.ASC", c.content).string();
    for (const char* extension : {".svg", ".PNG"}) {
        const std::filesystem::path plot = folder.path() / (std::string("plot") + extension);
        const EvaluatorRun run = runEvaluator({"--plot", plot.string(), list});
        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
        EXPECT_EQ(linesOf(run.out).size(), 1U) << "the result line is still printed";
        EXPECT_EQ(run.err.find("ambersel-eval:"), std::string::npos) << run.err;
        const std::string bytes = contentOf(plot);
        if (std::string(extension) == ".svg") {
            EXPECT_TRUE(isSvg(bytes));
            const std::string line = run.out.substr(0, run.out.find('\n'));
            EXPECT_NE(bytes.find(">" + line + "<"), std::string::npos) << "title " << line;
            for (const std::string& mention : c.svgMentions) {
                EXPECT_NE(bytes.find(mention), std::string::npos) << mention;
            }
        } else {
            EXPECT_TRUE(isPng(bytes));
        }
        EXPECT_FALSE(std::filesystem::exists(plot.string() + ".tmp"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Plots,
    ::testing::Values(PlotCase{"a_failing_list_shows_its_verdict",
                               "1000,120\n2000,90\n1e6,40\n",
                               1,
                               {"list.ASC"}},
                      PlotCase{"a_list_cut_short_says_where",
                               "150000,60\n3e6,50\n--- end of scan\n",
                               0,
                               {"line 3", "--- end of scan"}},
                      PlotCase{"an_empty_list_still_draws", "", 0, {"no points"}},
                      PlotCase{"points_that_no_log_axis_holds_are_counted",
                               "1000,120\n-5,40\n0,50\n",
                               1,
                               {"2 not drawn"}},
                      PlotCase{"one_point", "1000,100\n", 0, {"1 point at 1 kHz"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlotFiles, EachListIsDrawnUnderItsOwnName) {
    const TemporaryFolder folder;
    const std::string examples = sourceFolder() + "/examples/";
    const EvaluatorRun run = runEvaluator(
        {"--plot", (folder.path() / "{name}.png").string(), examples + "emission_150k_30M.ASC", "-",
         examples + "switching_supply_fail.ASC", (folder.path() / "missing.ASC").string()},
        withInput("1000,100\n"));
    EXPECT_EQ(run.exitStatus, 2) << run.err;
    for (const char* name : {"emission_150k_30M.png", "stdin.png", "switching_supply_fail.png"}) {
        EXPECT_TRUE(isPng(contentOf(folder.path() / name))) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing.png"));
}

// Points a few pixels apart are drawn as one: a long scan gives a picture of the size of a short
// one, not one element per point.
TEST(PlotFiles, ALongScanGivesAPictureOfBoundedSize) {
    const TemporaryFolder folder;
    std::string scan;
    for (int i = 0; i < 200000; ++i) {
        const double frequency = 150e3 * std::pow(200.0, i / 200000.0);
        scan +=
            std::to_string(frequency) + "," + std::to_string(40 + (i * 7919) % 300 / 10.0) + "\n";
    }
    const std::string list = folder.write("long.ASC", scan).string();
    const std::filesystem::path plot = folder.path() / "long.svg";
    const EvaluatorRun run = runEvaluator({"--plot", plot.string(), list});
    EXPECT_EQ(run.exitStatus, 1) << run.err;
    const std::string bytes = contentOf(plot);
    EXPECT_TRUE(isSvg(bytes));
    EXPECT_LT(bytes.size(), 8U << 20);
}

TEST(PlotFiles, APlotThatCannotBeWrittenIsAnErrorAndLeavesNoTrace) {
    const TemporaryFolder folder;
    const std::string list = folder.write("list.ASC", "1000,100\n").string();
    // A folder where the picture should go cannot be replaced by it.
    const std::filesystem::path occupied = folder.path() / "occupied.svg";
    std::filesystem::create_directory(occupied);
    for (const std::filesystem::path& target :
         {folder.path() / "no such folder" / "plot.svg", occupied}) {
        const EvaluatorRun run = runEvaluator({"--plot", target.string(), list});
        EXPECT_EQ(run.exitStatus, 2) << target;
        EXPECT_EQ(run.out, "PASS : F = 0.1210\n");
        EXPECT_NE(run.err.find("cannot write the plot"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(target.string() + ".tmp"));
    }
    EXPECT_TRUE(std::filesystem::is_directory(occupied));
}

// Plotting needs no display, whatever the environment asks for, and says nothing about the
// environment on standard error.
TEST(PlotFiles, NeedNoDisplay) {
    const TemporaryFolder folder;
    const std::string list = folder.write("list.ASC", "1000,100\n").string();
    const std::filesystem::path plot = folder.path() / "plot.png";
    const EvaluatorRun run = runEvaluator(
        {"--plot", plot.string(), list},
        withEnvironment({"QT_QPA_PLATFORM=xcb", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"}));
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(isPng(contentOf(plot)));
}

// The graphics system sets the C locale from the environment; lists read after a plot must still
// be read with the full stop.
TEST(PlotFiles, ListsAfterAPlotAreReadAsBefore) {
    const TemporaryFolder folder;
    const std::string first = folder.write("first.ASC", "1000,100\n").string();
    const std::string second = folder.write("second.ASC", "1000,118.3412\n1.5e5,60.5\n").string();
    const EvaluatorSettings german = withEnvironment({"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"});
    const EvaluatorRun plotted = runEvaluator(
        {"--json", "--plot", (folder.path() / "{name}.svg").string(), first, second}, german);
    const EvaluatorRun plain = runEvaluator({"--json", first, second}, german);
    EXPECT_EQ(plotted.out, plain.out);
    EXPECT_EQ(plotted.exitStatus, 1);
}

}  // namespace
}  // namespace ambersel::testing
