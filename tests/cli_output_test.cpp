// ambersel-eval's lines, warnings, exit statuses, machine-readable reports and command line, driven
// as a script drives it.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli_process.h"
#include "test_files.h"

namespace ambersel::testing {
namespace {

constexpr bool kDrawsPictures = AMBERSEL_DRAWS_PICTURES;

// A name that would print as a second result line if its control bytes went through.
constexpr const char* kForged = "x\nPASS\ty.ASC";
// Bytes that are not UTF-8 become U+FFFD in JSON; a comma and a quote must not shift CSV columns.
constexpr const char* kOddName = "m\xE9ssung,\"1\".ASC";
const std::string kOddWarning =
    "warning: m\xE9ssung,\"1\".ASC: read 2 points; stopped at line 3: '\\xff\\xfe bad'\n";
const std::string kHint = "ambersel-eval: *; try 'ambersel-eval --help'\n";
const std::string kNoPaintingLibrary =
    "ambersel-eval: cannot load the painting library */ambersel-painting.so (*); PNG pictures "
    "need it\n";

struct RunCase {
    const char* name;
    std::string command;  // the arguments, separated by single spaces
    int exitStatus;
    std::string out, err;
    RunSetting setting = {};
    // Runs a copy of the program from a folder of its own, with no painting library beside it.
    bool alone = false;
};

// The per-point table of kOddName's list, twice: one header, and the second copy counts from 1
// again.
std::string oddTable() {
    const std::string name = "\"m\xE9ssung,\"\"1\"\".ASC\",";
    const std::string list =
        name +
        "1,1000,120,6,1e+06,1,0.16235213,12.56637061,12.60609655317108,163.4095,135,"
        "1.2104407416449652,1.2104408\n" +
        name +
        "2,2000,110,5.5,316227.78,0.3162278,0.18607864,25.13274122,25.15262772021021,89.95836,270,"
        "0.33317910653573496,1.5436199\n";
    return "path,index,frequency_Hz,level_dBuV,a,b,V,Z,w,s,K,D,term,running_F\n" + list + list;
}

// The runs of any build, then those that draw pictures or say that they cannot.
std::vector<RunCase> runs() {
    std::vector<RunCase> runs{
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
        RunCase{"dash_reads_standard_input_and_is_named_so",
                "- fail.ASC",
                1,
                "PASS : F = 0.1210\t-\nFAIL : F = 1.2104\tfail.ASC\n",
                "warning: -: read 1 point; stopped at line 2: 'end'\n",
                {"1000,100\nend\n"}},
        RunCase{"a_list_cut_short_or_without_points_is_named", "cut.ASC empty.ASC", 0,
                "PASS : F = 0.0003\tcut.ASC\nPASS : F = 0.0000\tempty.ASC\n",
                "warning: cut.ASC: read 2 points; stopped at line 3: 'end'\n"
                "warning: empty.ASC: read 0 points; the file holds no items\n"},
        RunCase{"control_bytes_in_names_and_excerpts_cannot_forge_lines",
                std::string(kForged) + " fail.ASC", 1,
                "FAIL : F = 1.2104\tx\\x0aPASS\\x09y.ASC\nFAIL : F = 1.2104\tfail.ASC\n",
                "warning: x\\x0aPASS\\x09y.ASC: read 1 point; stopped at line 2: "
                "'\\x1b[2J\\xff\\\\'\n"},
        RunCase{"a_report_that_cannot_be_written_is_an_error",
                "pass.ASC",
                2,
                "",
                "ambersel-eval: cannot write the report*\n",
                {"", {}, "/dev/full"}},
        RunCase{"an_unknown_option", "--bogus -", 2, "", kHint},
        RunCase{"top_zero", "--top 0 -", 2, "", kHint},
        RunCase{"top_not_a_whole_number", "--top 3x -", 2, "", kHint},
        RunCase{"points_and_top_as_two_tables", "--points --top 3 -", 2, "", kHint},
        RunCase{"an_svg_needs_no_painting_library_in_any_build",
                "--plot p2.svg pass.ASC",
                0,
                "PASS : F = 0.1210\n",
                "",
                {},
                true},
        RunCase{"two_lists_drawn_to_one_plot", "--plot {name}.svg a.ASC b/a.ASC", 2, "", kHint},
        RunCase{"bands_as_text_with_the_points_outside_them", "--bands 150k,1M,10M,30M fail.ASC", 1,
                "FAIL : F = 1.2104\n"
                "  band 150 kHz - 1 MHz: 0 points, 0.00% of F, margin without it -1.66 dB\n"
                "  band 1 MHz - 10 MHz: 0 points, 0.00% of F, margin without it -1.66 dB\n"
                "  band 10 MHz - 30 MHz: 0 points, 0.00% of F, margin without it -1.66 dB\n"
                "  band below 150 kHz: 1 point, 100.00% of F, margin without it none\n",
                ""},
        RunCase{"margin_heads_the_heaviest_points", "--top 1 pass.ASC", 0,
                "PASS : F = 0.1210\n  margin +18.34 dB: passes with 18.34 dB to spare\n"
                "  1. point 1: 1000 Hz, 100 dBµV, term 0.121044, 100.00% of F\n",
                ""},
        RunCase{"bands_that_do_not_increase", "--bands 1M,150k pass.ASC", 2, "", kHint},
        RunCase{"bands_that_are_not_numbers", "--bands low,high pass.ASC", 2, "", kHint},
        RunCase{"a_report_neither_pdf_nor_html", "--report r.txt pass.ASC", 2, "", kHint},
        RunCase{"two_lists_reported_to_one_file_each_by_one_name",
                "--report {name}.pdf a.ASC b/a.ASC", 2, "", kHint},
        RunCase{"json_carries_the_figure_to_the_bit_and_names_a_file_it_cannot_read",
                std::string("--json --points --top 1 ") + kOddName + " missing.ASC", 2,
                "[\n"
                "{\"path\":\"m\xEF\xBF\xBDssung,\\\"1\\\".ASC\",\"verdict\":\"FAIL\","
                "\"line\":\"FAIL : F = 1.5436\",\"figure\":1.5436199,"
                "\"figure_text\":\"1.5436199\",\"figure_bits\":\"0x3FC59556\","
                "\"point_count\":2,\"stop\":{\"reason\":\"malformed_item\",\"line\":3,"
                "\"excerpt\":\"\xEF\xBF\xBD\xEF\xBF\xBD bad\"},\"error\":null,"
                "\"margin_db\":-3.77,\"bands\":[{\"place\":\"between\",\"lower_hz\":1000.0,"
                "\"upper_hz\":10000.0,\"point_count\":2,\"sum_of_terms\":1.5436198481807002,"
                "\"share\":0.9999999851266321,\"margin_without_db\":null}],"
                "\"top\":[{\"index\":1,\"frequency\":1000.0,\"level\":120.0,"
                "\"term\":1.2104407416449652,\"share\":0.7841572684286562}],"
                "\"points\":[{\"index\":1,\"frequency\":1000.0,\"level\":120.0,\"a\":6.0,"
                "\"b\":1000000.0,\"V\":1.0,\"Z\":0.16235213,\"w\":12.56637061,"
                "\"s\":12.60609655317108,\"K\":163.4095,\"D\":135.0,"
                "\"term\":1.2104407416449652,\"running_figure\":1.2104408},{\"index\":2,"
                "\"frequency\":2000.0,\"level\":110.0,\"a\":5.5,\"b\":316227.78,"
                "\"V\":0.3162278,\"Z\":0.18607864,\"w\":25.13274122,\"s\":25.15262772021021,"
                "\"K\":89.95836,\"D\":270.0,\"term\":0.33317910653573496,"
                "\"running_figure\":1.5436199}]},\n"
                "{\"path\":\"missing.ASC\",\"verdict\":\"ERROR\",\"line\":null,\"figure\":null,"
                "\"figure_text\":null,\"figure_bits\":null,\"point_count\":0,\"stop\":null,"
                "\"error\":\"No such file or directory\",\"margin_db\":null,\"bands\":[],"
                "\"top\":[],\"points\":[]}\n"
                "]\n",
                kOddWarning + "Error in the input file: missing.ASC (*)\n"},
        RunCase{"json_writes_an_infinite_figure_as_null_and_text", "--json inf.ASC", 1,
                "[\n"
                "{\"path\":\"inf.ASC\",\"verdict\":\"FAIL\",\"line\":\"FAIL : F = inf\","
                "\"figure\":null,\"figure_text\":\"inf\",\"figure_bits\":\"0x7F800000\","
                "\"point_count\":2,\"stop\":{\"reason\":\"end_of_file\",\"line\":null,"
                "\"excerpt\":null},\"error\":null,\"margin_db\":null,"
                "\"bands\":[{\"place\":\"between\",\"lower_hz\":1000.0,\"upper_hz\":10000.0,"
                "\"point_count\":1,\"sum_of_terms\":0.010536047264381692,\"share\":null,"
                "\"margin_without_db\":null},{\"place\":\"below\",\"lower_hz\":null,"
                "\"upper_hz\":1000.0,\"point_count\":1,\"sum_of_terms\":null,\"share\":null,"
                "\"margin_without_db\":39.55}]}\n"
                "]\n",
                ""},
        RunCase{"the_table_ends_each_copy_of_a_list_on_its_figure",
                std::string("--points ") + kOddName + " " + kOddName, 1, oddTable(),
                kOddWarning + kOddWarning},
    };
    if (!kDrawsPictures) {
        runs.push_back({"a_build_without_pictures_refuses_to_plot", "--plot {name}.png pass.ASC", 2,
                        "", "ambersel-eval: this build draws no PNG pictures*\n"});
        runs.push_back({"a_build_without_pictures_writes_pdf_reports", "--report r.pdf pass.ASC", 0,
                        "PASS : F = 0.1210\n", ""});
        return runs;
    }
    runs.insert(
        runs.end(),
        {RunCase{"a_plot_that_cannot_replace_a_folder_is_an_error", "--plot p.svg pass.ASC", 2,
                 "PASS : F = 0.1210\n", "ambersel-eval: cannot write the plot p.svg (*)\n"},
         RunCase{"a_list_read_after_the_graphics_started_keeps_its_full_stop",
                 "--plot {name}.png decimal.ASC", 1, "FAIL : F = 1.0000\n", ""},
         RunCase{"a_list_that_cannot_be_read_is_not_drawn", "--plot {name}.png missing.ASC", 2, "",
                 "Error in the input file: missing.ASC (*)\n"},
         RunCase{"several_lists_without_name_go_onto_one_picture",
                 "--plot both.svg fail.ASC missing.ASC pass.ASC", 2,
                 "FAIL : F = 1.2104\tfail.ASC\nERROR\tmissing.ASC\nPASS : F = 0.1210\tpass.ASC\n",
                 "Error in the input file: missing.ASC (*)\n"},
         RunCase{"one_picture_that_cannot_replace_a_folder_is_an_error",
                 "--plot p.svg pass.ASC fail.ASC", 2,
                 "PASS : F = 0.1210\tpass.ASC\nFAIL : F = 1.2104\tfail.ASC\n",
                 "ambersel-eval: cannot write the plot p.svg (*)\n"},
         RunCase{"a_picture_cut_short_by_the_file_size_limit_leaves_the_old_one",
                 "--plot kept.svg pass.ASC",
                 2,
                 "PASS : F = 0.1210\n",
                 "ambersel-eval: cannot write the plot kept.svg (*)\n",
                 {.shellFirst = "ulimit -f 4; trap '' XFSZ;"}},
         RunCase{"a_png_without_the_painting_library_is_refused_before_any_list",
                 "--plot p.png pass.ASC",
                 2,
                 "",
                 kNoPaintingLibrary,
                 {},
                 true},
         RunCase{"a_pdf_report_needs_no_painting_library",
                 "--report r.pdf pass.ASC",
                 0,
                 "PASS : F = 0.1210\n",
                 "",
                 {},
                 true},
         RunCase{"a_report_in_a_missing_folder_is_an_error", "--report nowhere/r.pdf pass.ASC", 2,
                 "PASS : F = 0.1210\n",
                 "ambersel-eval: cannot write the report nowhere/r.pdf (*)\n"}});
    return runs;
}

TEST(Runs, GiveTheirLinesWarningsAndExitStatus) {
    for (const RunCase& c : runs()) {
        SCOPED_TRACE(c.name);
        const TemporaryFolder folder;
        std::filesystem::create_directories(folder.path() / "p.svg" / "keep");
        for (const auto& [name, content] : {std::pair{"pass.ASC", "1000,100\n"},
                                            {"fail.ASC", "1000,120\n"},
                                            {"empty.ASC", ""},
                                            {"cut.ASC", "1,2\n3,4\nend\n5,6\n"},
                                            {"decimal.ASC", "1000,118.3412\n"},
                                            {kForged, "1000,120\n\x1b[2J\xff\\\n"},
                                            {kOddName, "1000,120\n2000,110\n\xFF\xFE bad\n"},
                                            {"inf.ASC", "2000,80\n0,50\n"}}) {
            folder.write(name, content);
        }
        folder.write("kept.svg", "old picture");
        RunSetting setting = c.setting;
        if (c.alone) {
            std::filesystem::create_directory(folder.path() / "alone");
            setting.program = folder.path() / "alone" / "ambersel-eval";
            std::filesystem::copy_file(AMBERSEL_EVAL, setting.program);
        }
        std::vector<std::string> arguments;
        std::istringstream words(c.command);
        for (std::string word; std::getline(words, word, ' ');) {
            arguments.push_back(word);
        }
        const EvaluatorRun run = runEvaluator(folder.path(), arguments, setting);
        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
        EXPECT_EQ(run.out, c.out);
        EXPECT_TRUE(matches(run.err, c.err)) << run.err;
        // Nothing half-written: an older picture is whole, no new file is left beside its target,
        // and a missing list has no picture.
        EXPECT_EQ(contentOf(folder.path() / "kept.svg"), "old picture");
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path())) {
            EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
        }
        EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing.png"));
    }
}

// The report for the record, as a reader of each form finds it: one page per list with every
// field, tied to the exact file by its size, time and hash, and the same bytes for the same lists
// at the same SOURCE_DATE_EPOCH.
TEST(RecordReport, HoldsEveryFieldInBothFormsAndIsReproducible) {
    const TemporaryFolder folder;
    for (const auto& [name, list] :
         {std::pair{"fail.ASC", "1000,120\n3000,80\nEnd of scan\n"}, {"pass.ASC", "1000,100\n"}}) {
        // Last written a second before 1970.
        std::filesystem::last_write_time(
            folder.write(name, list),
            std::chrono::file_clock::from_sys(std::chrono::sys_seconds{std::chrono::seconds{-1}}));
    }
    const auto report = [&](const std::string& target, const std::string& variable) {
        const EvaluatorRun run =
            runEvaluator(folder.path(), {"--report", target, "fail.ASC", "pass.ASC"},
                         {"", {"SOURCE_DATE_EPOCH=" + variable, "TZ=XST-5:30"}});
        EXPECT_EQ(run.exitStatus, variable.empty() ? 2 : 1) << run.err;
        return std::filesystem::exists(folder.path() / target) ? contentOf(folder.path() / target)
                                                               : "";
    };
    const std::string pdf = report("r.pdf", "1796622355");
    const std::string html = report("r.html", "1796622355");
    EXPECT_EQ(report("r.pdf", "1796622355"), pdf) << "the PDF of the same lists differs";
    EXPECT_EQ(report("r.html", "1796622355"), html) << "the HTML of the same lists differs";
    EXPECT_EQ(report("none.html", ""), "") << "a report timed by an empty SOURCE_DATE_EPOCH";
    // Laid out as on the page, so that cells that touch run together as they do for a reader.
    ASSERT_EQ(std::system(
                  ("cd " + shellWord(folder.path()) + " && pdftotext -layout r.pdf r.txt").c_str()),
              0);
    const std::string pdfText = contentOf(folder.path() / "r.txt");
    for (const std::string field :
         {"FAIL : F = 1.2200", "0x3F9C29A2", "-1.73 dB", "line 3: ", "End of scan", "fail.ASC",
          "29 bytes", "Largest contributors", "Where F comes from", "1 kHz - 10 kHz",
          "1969-12-31T23:59:59Z", "2026-12-07T05:45:55Z",
          // Whole, though the text runs across lines where it does not fit one.
          "590ea545446517f5b03d48f5a336fa2a4441b3e478ba8c96775f50ec1878e809",
          "f11113429a73052f483dd6f784d1f59009929a1860adec46799a1a71e1d7df28"}) {
        EXPECT_NE(pdfText.find(field), std::string::npos) << field << " not in the PDF";
        EXPECT_NE(html.find(field), std::string::npos) << field << " not in the HTML";
    }
    // Cells apart, and "file" as letters a search finds, not as a ligature.
    EXPECT_TRUE(std::regex_search(pdfText, std::regex("Reading stopped at  +end of file")));
    EXPECT_NE(pdfText.find("Summary"), std::string::npos) << "several lists, one summary";
    EXPECT_EQ(std::count(pdfText.begin(), pdfText.end(), '\f'), 3) << "summary and two pages";
    for (const char* outside : {"<script", "src=", "<link", "@import", "href=\"http"}) {
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
    }
    EXPECT_NE(html.find("<svg"), std::string::npos) << "no picture";
}

}  // namespace
}  // namespace ambersel::testing
