// ambersel-eval's lines, warnings, exit statuses and command line, driven as a script drives it.

#include <gtest/gtest.h>

#include <clocale>
#include <cstddef>
#include <filesystem>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "cli_process.h"
#include "evaluation/frequency_level_list.h"
#include "evaluation/test_figure.h"
#include "test_files.h"

namespace ambersel::testing {
namespace {

// Replaces "{1}", "{2}", ... by the paths of the files, in order.
std::string withPaths(std::string text, const std::vector<std::string>& paths) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string mark = "{" + std::to_string(i + 1) + "}";
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
            text.replace(at, mark.size(), paths[i]);
        }
    }
    return text;
}

constexpr const char* kMissing = "<missing>";
constexpr const char* kFolder = "<folder>";

struct ExitCase {
    const char* name;
    std::vector<std::string> contents;  // one list file each, or kMissing / kFolder
    int exitStatus;
    std::string out;  // with {n} for the path of file n
    std::vector<std::string> errorMentions;
};

void PrintTo(const ExitCase& c, std::ostream* out) {
    *out << c.name;
}

class ExitStatusAndLines : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ExitStatusAndLines, FollowTheRules) {
    const ExitCase& c = GetParam();
    const TemporaryFolder folder;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < c.contents.size(); ++i) {
        const std::string name = "list" + std::to_string(i + 1) + ".ASC";
        if (c.contents[i] == kMissing) {
            paths.push_back((folder.path() / name).string());
        } else if (c.contents[i] == kFolder) {
            std::filesystem::create_directory(folder.path() / name);
            paths.push_back((folder.path() / name).string());
        } else {
            paths.push_back(folder.write(name, c.contents[i]).string());
        }
    }
    const EvaluatorRun run = runEvaluator(paths);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
    EXPECT_EQ(run.out, withPaths(c.out, paths));
    for (const std::string& mention : c.errorMentions) {
        EXPECT_NE(run.err.find(withPaths(mention, paths)), std::string::npos)
            << "standard error lacks \"" << withPaths(mention, paths) << "\":\n"
            << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExitStatusAndLines,
    ::testing::Values(
        ExitCase{"one_passing_file_prints_exactly_the_dialog_line",
                 {"1000,100\n"},
                 0,
                 "PASS : F = 0.1210\n",
                 {}},
        ExitCase{"one_failing_file_exits_1", {"1000,120\n"}, 1, "FAIL : F = 1.2104\n", {}},
        ExitCase{"an_empty_list_passes_with_a_zero_figure", {""}, 0, "PASS : F = 0.0000\n", {}},
        ExitCase{"a_missing_file_prints_nothing_on_standard_output_and_exits_2",
                 {kMissing},
                 2,
                 "",
                 {"Error in the input file", "{1}"}},
        ExitCase{"a_folder_is_an_open_failure", {kFolder}, 2, "", {"Error in the input file"}},
        ExitCase{"several_files_give_the_line_a_tab_and_the_path",
                 {"1000,100\n", "1000,120\n"},
                 1,
                 "PASS : F = 0.1210\t{1}\nFAIL : F = 1.2104\t{2}\n",
                 {}},
        ExitCase{"all_passing_files_exit_0",
                 {"1000,100\n", "1000000,40\n"},
                 0,
                 "PASS : F = 0.1210\t{1}\nPASS : F = 0.0000\t{2}\n",
                 {}},
        ExitCase{"an_open_failure_wins_over_a_fail",
                 {"1000,120\n", kMissing},
                 2,
                 "FAIL : F = 1.2104\t{1}\nERROR\t{2}\n",
                 {"Error in the input file: {2}"}},
        ExitCase{"files_after_an_open_failure_are_still_evaluated",
                 {kMissing, "1000,100\n", "1000,120\n"},
                 2,
                 "ERROR\t{1}\nPASS : F = 0.1210\t{2}\nFAIL : F = 1.2104\t{3}\n",
                 {"Error in the input file: {1}"}},
        ExitCase{"a_negative_figure_fails", {"-0,50\n"}, 1, "FAIL : F = -inf\n", {}},
        ExitCase{"an_infinite_figure_fails", {"0,50\n"}, 1, "FAIL : F = inf\n", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExitStatusAndLines, FigureThatIsNotANumberFailsWithTheCoresLine) {
    const TemporaryFolder folder;
    const EvaluatorRun run =
        runEvaluator({folder.write("nan.ASC", "1000,120\n-5,40\n2000,80\n").string()});
    const TestVerdict core = evaluateTestFigure({{1000, 120}, {-5, 40}, {2000, 80}});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, formatVerdictUtf8(core) + "\n");
    EXPECT_NE(run.out.find("nan"), std::string::npos);
}

struct WarningCase {
    const char* name;
    std::string content;
    std::string out;
    std::string warning;  // after "PATH: "; empty when there must be none
};

void PrintTo(const WarningCase& c, std::ostream* out) {
    *out << c.name;
}

class ReadingWarnings : public ::testing::TestWithParam<WarningCase> {};

TEST_P(ReadingWarnings, SayWhereReadingStopped) {
    const WarningCase& c = GetParam();
    const TemporaryFolder folder;
    const std::string path = folder.write("list.ASC", c.content).string();
    const EvaluatorRun run = runEvaluator({path});
    EXPECT_EQ(run.out, c.out);
    if (c.warning.empty()) {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_EQ(run.err, "warning: " + path + ": " + c.warning + "\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadingWarnings,
    ::testing::Values(WarningCase{"a_complete_file_gives_no_warning", "1000,100\n30,60\n",
                                  "PASS : F = 0.1258\n", ""},
                      WarningCase{"windows_line_ends_give_no_warning", "1000,100\r\n30,60\r\n",
                                  "PASS : F = 0.1258\n", ""},
                      WarningCase{"text_after_the_data_names_its_line", "1,2\n3,4\nend\n5,6\n",
                                  "PASS : F = 0.0003\n", "read 2 points; stopped at line 3: 'end'"},
                      WarningCase{"blank_lines_count_towards_the_line_number",
                                  "1000,100\n\n\nend\n", "PASS : F = 0.1210\n",
                                  "read 1 point; stopped at line 4: 'end'"},
                      WarningCase{"a_header_line_gives_no_points", "Frequency,Level\n1000,100\n",
                                  "PASS : F = 0.0000\n",
                                  "read 0 points; stopped at line 1: 'Frequency,Level'"},
                      WarningCase{"an_empty_file_gives_no_points", "", "PASS : F = 0.0000\n",
                                  "read 0 points; the file holds no items"},
                      WarningCase{"a_file_of_blank_lines_gives_no_points", "\n \r\n\t\n",
                                  "PASS : F = 0.0000\n", "read 0 points; the file holds no items"},
                      WarningCase{"a_lone_number_at_the_end_is_named", "1000,100\n3\n",
                                  "PASS : F = 0.1210\n", "read 1 point; stopped at line 2: '3'"},
                      WarningCase{"a_byte_order_mark_shows_as_bytes",
                                  "\xEF\xBB\xBF"
                                  "1000,100\n",
                                  "PASS : F = 0.0000\n",
                                  "read 0 points; stopped at line 1: '\\xef\\xbb\\xbf1000,100'"},
                      WarningCase{"terminal_controls_in_the_excerpt_cannot_reach_the_terminal",
                                  "1000,100\n\x1b[2J\x07oops\n", "PASS : F = 0.1210\n",
                                  "read 1 point; stopped at line 2: '\\x1b[2J\\x07oops'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StandardInput, DashReadsTheList) {
    const EvaluatorRun run = runEvaluator({"-"}, withInput("1000,100\n"));
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "PASS : F = 0.1210\n");
    EXPECT_EQ(run.err, "");
}

TEST(StandardInput, DashIsNamedInLinesAndWarnings) {
    const TemporaryFolder folder;
    const std::string path = folder.write("b.ASC", "1000,120\n").string();
    const EvaluatorRun run = runEvaluator({"-", path}, withInput("1000,100\nend\n"));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "PASS : F = 0.1210\t-\nFAIL : F = 1.2104\t" + path + "\n");
    EXPECT_EQ(run.err, "warning: -: read 1 point; stopped at line 2: 'end'\n");
}

TEST(Paths, ControlCharactersInANameCannotForgeALine) {
    const TemporaryFolder folder;
    const std::string forged = "x\nPASS : F = 0.0000\ty.ASC";
    const std::string path = folder.write(forged, "1000,120\n").string();
    const std::string other = folder.write("other.ASC", "1000,120\n").string();
    const EvaluatorRun run = runEvaluator({path, other});
    EXPECT_EQ(run.exitStatus, 1);
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 2U) << run.out;
    EXPECT_EQ(lines[0].rfind("FAIL : F = 1.2104\t", 0), 0U) << lines[0];
    EXPECT_NE(lines[0].find("x\\x0aPASS : F = 0.0000\\x09y.ASC"), std::string::npos) << lines[0];
}

struct UsageCase {
    const char* name;
    std::vector<std::string> arguments;
};

void PrintTo(const UsageCase& c, std::ostream* out) {
    *out << c.name;
}

class UsageErrors : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, ExitWithStatus2AndAOneLineHint) {
    const TemporaryFolder folder;
    const std::string list = folder.write("a.ASC", "1000,100\n").string();
    std::vector<std::string> arguments;
    for (const std::string& argument : GetParam().arguments) {
        arguments.push_back(argument == "LIST" ? list : argument);
    }
    const EvaluatorRun run = runEvaluator(arguments);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "") << "nothing may be evaluated";
    const std::vector<std::string> lines = linesOf(run.err);
    ASSERT_EQ(lines.size(), 1U) << run.err;
    EXPECT_NE(lines[0].find("--help"), std::string::npos) << lines[0];
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UsageErrors,
    ::testing::Values(
        UsageCase{"no_file", {}}, UsageCase{"an_unknown_option", {"--bogus", "LIST"}},
        UsageCase{"top_without_its_count", {"LIST", "--top"}},
        UsageCase{"top_zero", {"--top", "0", "LIST"}},
        UsageCase{"top_negative", {"--top", "-2", "LIST"}},
        UsageCase{"top_not_a_number", {"--top", "3x", "LIST"}},
        UsageCase{"points_and_top_as_two_tables", {"--points", "--top", "3", "LIST"}},
        UsageCase{"a_plot_that_is_neither_svg_nor_png", {"--plot", "p.pdf", "LIST"}},
        UsageCase{"one_plot_name_for_several_files", {"--plot", "p.svg", "LIST", "LIST"}},
        UsageCase{"two_files_drawn_to_the_same_plot", {"--plot", "{name}.svg", "LIST", "LIST"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Conventions, HelpDescribesEveryOutputAndExitsZero) {
    const EvaluatorRun run = runEvaluator({"--help"});
    EXPECT_EQ(run.exitStatus, 0);
    for (const char* topic : {"--json", "--points", "--top", "--plot", "EXIT STATUS", "figure_text",
                              "figure_bits", "\"-nan\"", "stopped at line"}) {
        EXPECT_NE(run.out.find(topic), std::string::npos) << topic;
    }
}

TEST(Conventions, VersionNamesTheProgram) {
    const EvaluatorRun run = runEvaluator({"--version"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(std::regex_match(run.out, std::regex("ambersel-eval [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << run.out;
}

TEST(Conventions, ALostReportIsAnError) {
    const TemporaryFolder folder;
    const std::string list = folder.write("a.ASC", "1000,100\n").string();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{list}, {"--json", list}, {"--points", list}}) {
        const EvaluatorRun run = runEvaluator(arguments, writingOutputTo(std::string("/dev/full")));
        EXPECT_EQ(run.exitStatus, 2) << arguments.front();
        EXPECT_NE(run.err.find("cannot write the report"), std::string::npos) << run.err;
    }
}

// Every output form, byte for byte the same under a locale whose decimal separator is a comma.
TEST(Conventions, OutputDoesNotDependOnTheLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing; scripts/install-deps generates it";
    std::setlocale(LC_ALL, "C");
    const TemporaryFolder folder;
    const std::string a = folder.write("a.ASC", "1000,100\n1.5E+05,6.0E+01\nend\n").string();
    const std::string b = folder.write("b.ASC", "1000,118.3412\n").string();
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{a},
                                                      {a, b},
                                                      {"--json", a, b},
                                                      {"--points", a, b},
                                                      {"--top", "2", a, b},
                                                      {"--json", "--points", "--top", "1", a}}) {
        const EvaluatorRun plain = runEvaluator(arguments, withEnvironment({"LC_ALL=C"}));
        const EvaluatorRun german =
            runEvaluator(arguments, withEnvironment({"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"}));
        EXPECT_EQ(german.out, plain.out) << arguments.front();
        EXPECT_EQ(german.err, plain.err) << arguments.front();
        EXPECT_EQ(german.exitStatus, plain.exitStatus) << arguments.front();
    }
    const EvaluatorRun german = runEvaluator({a}, withEnvironment({"LC_ALL=de_DE.UTF-8"}));
    EXPECT_TRUE(std::regex_match(german.out, std::regex("PASS : F = 0\\.12[0-9]{2}\n")))
        << german.out;
}

}  // namespace
}  // namespace ambersel::testing
