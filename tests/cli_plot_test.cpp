// ambersel-eval's pictures, checked as files another program must open, driven as a script drives
// it.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QXmlStreamReader>

#include <ostream>
#include <string>

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

}  // namespace
}  // namespace ambersel::testing
