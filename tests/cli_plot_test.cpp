// ambersel-eval's pictures, checked as files another program must open, driven as a script
// drives it.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QXmlStreamReader>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli_process.h"
#include "test_files.h"

namespace ambersel::testing {
namespace {

// Checks the SVG's structure, size, title and texts.
void expectSvg(const std::string& bytes, const std::string& title, const std::string& texts) {
    QXmlStreamReader reader(QByteArray::fromStdString(bytes));
    QString root;
    while (!reader.atEnd()) {
        reader.readNext();
        root = root.isEmpty() && reader.isStartElement() ? reader.name().toString() : root;
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(root.toStdString(), "svg");
    EXPECT_LT(bytes.size(), 8U << 20) << "one element per point";
    EXPECT_TRUE(title.empty() || bytes.find(">" + title + "<") != std::string::npos)
        << "the result line as title";
    std::istringstream items(texts);
    for (std::string text; std::getline(items, text, '|');) {
        EXPECT_EQ(bytes.find(text.substr(text.starts_with('!'))) == std::string::npos,
                  text.starts_with('!'))
            << text;
    }
}

void expectPng(const std::string& bytes) {
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

// Drawn with no display, whatever the environment asks for: one list alone with its margin beside
// its verdict (its name, whatever it holds, as text), or the bundled examples on one picture, each
// with its verdict and margin in the legend and a row of bands.
TEST(Plots, AreValidSvgAndPngWithoutADisplay) {
    // Points a few pixels apart are drawn as one: a long scan gives a picture of the size of a
    // short one. Two of its points have no place on a logarithmic axis.
    std::string scan = "1000,120\n-5,40\n0,50\n";
    for (int i = 0; i < 200000; ++i) {
        scan += std::to_string(150000 + 149 * i) + "," + std::to_string(40 + i * 7919 % 30) + "\n";
    }
    const char* const kHostileName = "a<b&\"'\x01\xff.ASC";
    // The lists are the bundled examples, "list.ASC" holding the scan, or "-" for standard input
    // without points; texts of the picture, separated by '|', with a "!" before those that must not
    // be in it.
    const struct {
        const char *name, *lists;
        int exitStatus;
        std::string err, texts;
    } rows[] = {
        {"a long failing scan alone, counting the points it cannot draw", "list.ASC", 1, "",
         "2 not drawn|>no margin<|>share of F<|!>Lists<"},
        {"standard input without points", "-", 0,
         "warning: -: read 0 points; the file holds no items\n", "no points"},
        {"two lists on one picture, one that cannot be read left out",
         "switching_supply_fail.ASC missing.ASC emission_150k_30M.ASC", 2,
         "Error in the input file: missing.ASC (*)\n",
         ">2 lists: 1 FAIL, 1 PASS<|>switching_supply_fail.ASC<|>FAIL : F = 1.1201<|"
         ">margin -0.99 dB<|>emission_150k_30M.ASC<|>PASS : F = 0.0092<|>margin +40.71 dB<|"
         ">share of F<|!missing|!>3 lists"},
        {"a name of markup, quotes, a control and an invalid byte, as text", kHostileName, 0, "",
         ">a&lt;b&amp;&quot;&apos;\uFFFD\uFFFD.ASC<|!\x01"},
    };
    for (const auto& row : rows) {
        const TemporaryFolder folder;
        folder.write("list.ASC", scan);
        folder.write(kHostileName, "1e6,120\n");
        for (const char* example : {"switching_supply_fail.ASC", "emission_150k_30M.ASC"}) {
            folder.write(example,
                         contentOf(std::string(AMBERSEL_SOURCE_TREE "/examples/") + example));
        }
        for (const std::string extension : {".svg", ".PNG"}) {
            SCOPED_TRACE(row.name + (" to " + extension));
            std::vector<std::string> arguments{"--plot", "picture" + extension};
            std::istringstream lists(row.lists);
            for (std::string list; lists >> list;) {
                arguments.push_back(list);
            }
            // No runtime folder named either, as under CI: the toolkit's own goes into TMPDIR.
            const TemporaryFolder temporary;
            const EvaluatorRun run =
                runEvaluator(folder.path(), arguments,
                             {"",
                              {"QT_QPA_PLATFORM=xcb", "DISPLAY=", "WAYLAND_DISPLAY=",
                               "XDG_RUNTIME_DIR=", "TMPDIR=" + temporary.path().string()}});
            EXPECT_EQ(run.exitStatus, row.exitStatus) << run.err;
            EXPECT_TRUE(std::filesystem::is_empty(temporary.path())) << "left in TMPDIR";
            ASSERT_FALSE(run.out.empty()) << "the result lines are still printed";
            EXPECT_TRUE(matches(run.err, row.err)) << run.err;
            const std::string bytes = contentOf(folder.path() / ("picture" + extension));
            if (extension == ".svg") {
                expectSvg(bytes, arguments.size() > 3 ? "" : run.out.substr(0, run.out.find('\n')),
                          row.texts);
            } else {
                expectPng(bytes);
            }
        }
    }
}

}  // namespace
}  // namespace ambersel::testing
