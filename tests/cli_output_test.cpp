// ambersel-eval's lines, warnings, exit statuses, command line and pictures, driven as a script
// drives it.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QXmlStreamReader>

#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli_process.h"
#include "test_files.h"

namespace ambersel::testing {
namespace {

// '*' in the pattern stands for any text within one line.
bool matches(std::string_view text, std::string_view pattern) {
    const std::size_t star = pattern.find('*');
    if (star == std::string_view::npos || !text.starts_with(pattern.substr(0, star))) {
        return text == pattern;
    }
    for (std::size_t end = star; end <= text.size() && (end == star || text[end - 1] != '\n');
         ++end) {
        if (matches(text.substr(end), pattern.substr(star + 1))) {
            return true;
        }
    }
    return false;
}

// A name that would print as a second result line if its control bytes went through.
constexpr const char* kForged = "x\nPASS\ty.ASC";
const std::string kHint = "ambersel-eval: *; try 'ambersel-eval --help'\n";

struct RunCase {
    const char* name;
    std::string command;  // the arguments, separated by single spaces
    int exitStatus;
    std::string out;
    std::string err;
    std::string input = "";
    std::optional<std::string> outputTo = std::nullopt;
};

void PrintTo(const RunCase& c, std::ostream* out) {
    *out << c.name;
}

class Runs : public ::testing::TestWithParam<RunCase> {};

TEST_P(Runs, GiveTheirLinesWarningsAndExitStatus) {
    const RunCase& c = GetParam();
    const TemporaryFolder folder;
    std::filesystem::create_directories(folder.path() / "p.svg" / "keep");
    for (const auto& [name, content] : {std::pair{"pass.ASC", "1000,100\n"},
                                        {"fail.ASC", "1000,120\n"},
                                        {"empty.ASC", ""},
                                        {"cut.ASC", "1,2\n3,4\nend\n5,6\n"},
                                        {"decimal.ASC", "1000,118.3412\n"},
                                        {kForged, "1000,120\n\x1b[2J\xff\\\n"}}) {
        folder.write(name, content);
    }
    std::vector<std::string> arguments;
    std::istringstream words(c.command);
    for (std::string word; std::getline(words, word, ' ');) {
        arguments.push_back(word);
    }
    const EvaluatorRun run = runEvaluator(folder.path(), arguments, c.input, {}, c.outputTo);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
    EXPECT_EQ(run.out, c.out);
    EXPECT_TRUE(matches(run.err, c.err)) << run.err;
    // No half-written picture beside a plot that failed, and no picture of a missing list.
    for (const char* leftover : {"p.svg.tmp", "missing.png"}) {
        EXPECT_FALSE(std::filesystem::exists(folder.path() / leftover)) << leftover;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Runs,
    ::testing::Values(
        RunCase{"one_file_gives_exactly_the_dialog_line", "pass.ASC", 0, "PASS : F = 0.1210\n", ""},
        RunCase{"a_fail_is_not_undone_by_a_later_pass", "fail.ASC pass.ASC", 1,
                "FAIL : F = 1.2104\tfail.ASC\nPASS : F = 0.1210\tpass.ASC\n", ""},
        RunCase{"an_unreadable_file_wins_over_a_fail_and_the_rest_is_still_evaluated",
                "fail.ASC missing.ASC . pass.ASC", 2,
                "FAIL : F = 1.2104\tfail.ASC\nERROR\tmissing.ASC\nERROR\t.\n"
                "PASS : F = 0.1210\tpass.ASC\n",
                "Error in the input file: missing.ASC (*)\nError in the input file: . (*)\n"},
        RunCase{"one_unreadable_file_prints_no_line", "missing.ASC", 2, "",
                "Error in the input file: missing.ASC (*)\n"},
        RunCase{"dash_reads_standard_input_and_is_named_so", "- fail.ASC", 1,
                "PASS : F = 0.1210\t-\nFAIL : F = 1.2104\tfail.ASC\n",
                "warning: -: read 1 point; stopped at line 2: 'end'\n", "1000,100\nend\n"},
        RunCase{"a_list_cut_short_or_without_points_is_named", "cut.ASC empty.ASC", 0,
                "PASS : F = 0.0003\tcut.ASC\nPASS : F = 0.0000\tempty.ASC\n",
                "warning: cut.ASC: read 2 points; stopped at line 3: 'end'\n"
                "warning: empty.ASC: read 0 points; the file holds no items\n"},
        RunCase{"control_bytes_in_names_and_excerpts_cannot_forge_lines",
                std::string(kForged) + " fail.ASC", 1,
                "FAIL : F = 1.2104\tx\\x0aPASS\\x09y.ASC\nFAIL : F = 1.2104\tfail.ASC\n",
                "warning: x\\x0aPASS\\x09y.ASC: read 1 point; stopped at line 2: "
                "'\\x1b[2J\\xff\\\\'\n"},
        RunCase{"a_plot_that_cannot_replace_a_folder_is_an_error", "--plot p.svg pass.ASC", 2,
                "PASS : F = 0.1210\n", "ambersel-eval: cannot write the plot p.svg (*)\n"},
        RunCase{"a_list_read_after_the_graphics_started_keeps_its_full_stop",
                "--plot {name}.svg decimal.ASC", 1, "FAIL : F = 1.0000\n", ""},
        RunCase{"a_list_that_cannot_be_read_is_not_drawn", "--plot {name}.png missing.ASC", 2, "",
                "Error in the input file: missing.ASC (*)\n"},
        RunCase{"a_report_that_cannot_be_written_is_an_error", "pass.ASC", 2, "",
                "ambersel-eval: cannot write the report*\n", "", "/dev/full"},
        RunCase{"an_unknown_option", "--bogus -", 2, "", kHint},
        RunCase{"top_zero", "--top 0 -", 2, "", kHint},
        RunCase{"top_not_a_whole_number", "--top 3x -", 2, "", kHint},
        RunCase{"points_and_top_as_two_tables", "--points --top 3 -", 2, "", kHint},
        RunCase{"a_plot_neither_svg_nor_png", "--plot p.pdf -", 2, "", kHint},
        RunCase{"one_plot_name_for_several_files", "--plot p.svg - -", 2, "", kHint},
        RunCase{"two_lists_drawn_to_one_plot", "--plot {name}.svg a.ASC b/a.ASC", 2, "", kHint}),
    [](const auto& info) { return std::string(info.param.name); });

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
                      PlotCase{"a_list_cut_short_says_where", "150000,60\n3e6,50\n<end of scan>\n",
                               false, 0, "end of scan"},
                      PlotCase{"standard_input_without_points", "", true, 0, "no points"},
                      PlotCase{"one_point", "1000,100\n", false, 0, "1 point at 1 kHz"},
                      PlotCase{"a_long_scan_gives_a_picture_of_bounded_size", longScan(), false, 1,
                               ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ambersel::testing
