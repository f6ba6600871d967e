// The evaluator's library piece by piece: plot names, escaped bytes, CSV
// fields, the heaviest points, the JSON of figures that are not finite, writing
// an output file, the chart of a list, the bins of a lot's margins, and a lot evaluated on several
// threads.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <mutex>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <variant>
#include <vector>

#include "cli/ordered_jobs.h"
#include "cli/plot_files.h"
#include "evaluation/evaluated_list.h"
#include "files/output_file.h"
#include "plot/drawing/lot_chart.h"
#include "plot/layout/spectrum_chart.h"
#include "results/json_object.h"
#include "test_files.h"
#include "text/byte_text.h"
#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#if defined(_WIN32)
#include <windows.h>

#include "files/windows_path.h"
#endif

namespace ambersel::testing {
namespace {

using namespace ambersel::cli;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNanF = std::numeric_limits<float>::quiet_NaN();

EvaluatedList evaluationOf(FrequencyLevelList points, ReadingStop stop = {}) {
    return evaluatedList("lab/run.ASC", std::move(points), std::move(stop), recordScope());
}

TEST(PlotNames, StandForEachList) {
    const struct {
        const char *name, *pattern, *list, *target;
    } rows[] = {
        {"without folder and extension", "plots/{name}.png", "lab/run 1.ASC", "plots/run 1.png"},
        {"only the last extension goes", "{name}.svg", "scan.2024.asc", "scan.2024.svg"},
        {"a list without extension", "{name}.svg", "lab/run", "run.svg"},
        {"standard input", "{name}.svg", "-", "stdin.svg"},
        {"every placeholder, and none in the name", "{name}/{name}.svg", "{name}.ASC",
         "{name}/{name}.svg"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(plotTargetFor(row.pattern, row.list), row.target) << row.name;
    }
}

TEST(PlotNames, MustNameOnePictureForEachList) {
    const struct {
        const char* name;
        std::string pattern;
        std::vector<std::string> lists;
        const char* problem;  // a part of the message; nullptr: none
    } rows[] = {
        {"svg and png in any letter case", "{name}.PNG", {"a.ASC", "b.ASC"}, nullptr},
        {"neither svg nor png", "p.pdf", {"a.ASC"}, "ending in .svg or .png: p.pdf"},
        {"no extension", "plots/{name}", {"a.ASC"}, "ending in .svg or .png"},
        {"a control byte shown escaped", "p\n.pdf", {"a.ASC"}, "p\\x0a.pdf"},
        {"several lists onto one picture", "p.svg", {"a.ASC", "b.ASC"}, nullptr},
        {"two lists of one name in two folders",
         "{name}.svg",
         {"a.ASC", "b/a.ASC"},
         "the same plot a.svg"},
        {"one list twice", "{name}.svg", {"-", "-"}, "the same plot stdin.svg"},
    };
    for (const auto& row : rows) {
        const std::optional<std::string> problem = plotNameProblem(row.pattern, row.lists);
        if (row.problem == nullptr) {
            EXPECT_EQ(problem, std::nullopt) << row.name;
        } else {
            EXPECT_NE(problem.value_or("").find(row.problem), std::string::npos)
                << row.name << ": " << problem.value_or("no problem");
        }
    }
}

TEST(CsvField, KeepsItsColumn) {
    const std::pair<std::string, std::string> rows[] = {{"lab/run 1.ASC", "lab/run 1.ASC"},
                                                        {"", ""},
                                                        {"a,b", "\"a,b\""},
                                                        {"say \"hi\"", "\"say \"\"hi\"\"\""},
                                                        {"a\nb", "\"a\nb\""},
                                                        {"a\rb", "\"a\rb\""}};
    for (const auto& [text, field] : rows) {
        EXPECT_EQ(csvField(text), field) << text;
    }
}

TEST(HeaviestPoints, RankByTheSizeOfTheirTerm) {
    // Terms of 0.121, 1.21, almost nothing, not a number and infinity.
    const FrequencyLevelPoint light{1000, 100}, heavy{1000, 120}, faint{30e6, 40},
        undefined{-5, 40}, infinite{0, 50};
    const struct {
        const char* name;
        FrequencyLevelList points;
        std::size_t count;
        std::vector<std::size_t> indices;
    } rows[] = {
        {"the heaviest first whatever the list order", {light, faint, heavy}, 2, {2, 0}},
        {"not a number before infinity before a number",
         {light, infinite, undefined},
         3,
         {2, 1, 0}},
        {"equal terms in list order", {light, heavy, light, light}, 3, {1, 0, 2}},
        {"no more than the list holds", {light}, 5, {0}},
        {"none asked", {light, heavy}, 0, {}},
    };
    for (const auto& row : rows) {
        std::vector<std::size_t> indices;
        for (const RankedPoint& ranked :
             analyseList(row.points, {}, {false, false, {}, row.count}).heaviest) {
            indices.push_back(ranked.index);
        }
        EXPECT_EQ(indices, row.indices) << row.name;
    }
}

TEST(Json, WritesAFigureThatIsNotFiniteAsNullAndText) {
    // "figure", "figure_text" and "figure_bits" as written.
    const std::pair<float, std::string> rows[] = {
        {-kInfinity, R"("figure":null,"figure_text":"-inf","figure_bits":"0xFF800000")"},
        {kNanF, R"("figure":null,"figure_text":"nan","figure_bits":"0x7FC00000")"},
        {-kNanF, R"("figure":null,"figure_text":"-nan","figure_bits":"0xFFC00000")"},
    };
    for (const auto& [figure, fields] : rows) {
        EvaluatedList evaluation = evaluationOf({});
        evaluation.analysis.verdict.figure = figure;
        std::ostringstream json;
        writeJsonObject(json, evaluation, {});
        EXPECT_NE(json.str().find(fields), std::string::npos) << json.str();
    }
    // A point at 0 Hz has an infinite term, which makes the running figure
    // infinite too.
    std::ostringstream json;
    writeJsonObject(json, evaluationOf({{0, 50}}), {true, 1});
    for (const char* field :
         {R"("term":null,"running_figure":null)", R"("term":null,"share":null)"}) {
        EXPECT_NE(json.str().find(field), std::string::npos) << field << ": " << json.str();
    }
}

TEST(OutputFile, IsReplacedWholeOrNotAtAll) {
    struct Row {
        const char *name, *target;
        bool replaced;
        int entries;  // in the folder afterwards, the link aside: nothing left beside the target
    };
    std::vector<Row> rows = {
        {"a new file", "new.svg", true, 3},
        {"an older picture", "old.svg", true, 2},
        {"a missing folder is not made", "missing/p.svg", false, 2},
        {"a folder in the way stays", "folder.svg", false, 2},
    };
#if defined(_WIN32)
    // Windows lets only administrators and developer mode make symbolic links.
    constexpr bool kWithLink = false;
#else
    constexpr bool kWithLink = true;
#endif
    if (kWithLink) {
        rows.push_back(
            {"a link keeps its place and the file it names is replaced", "link.svg", true, 2});
    }
    for (const Row& row : rows) {
        const TemporaryFolder folder;
        folder.write("old.svg", "old picture");
        std::filesystem::create_directories(folder.path() / "folder.svg" / "keep");
        if (kWithLink) {
            std::filesystem::create_symlink("old.svg", folder.path() / "link.svg");
        }
        const std::filesystem::path target = folder.path() / row.target;
        const std::error_code error = replaceFile(target, "<svg/>");
        EXPECT_EQ(!error, row.replaced) << row.name << ": " << error.message();
        EXPECT_EQ(std::filesystem::is_regular_file(target) && contentOf(target) == "<svg/>",
                  row.replaced)
            << row.name;
        EXPECT_EQ(std::filesystem::is_symlink(folder.path() / "link.svg"), kWithLink) << row.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                                std::filesystem::directory_iterator()),
                  row.entries + (kWithLink ? 1 : 0))
            << row.name;
    }
}

// Margins worked out by hand as 20 log10(1 / F) from F = 1.21044075, 0.121044077 and twice that.
// The number of files and folders in `folder`, whatever the length of its path.
std::size_t entriesIn(const std::filesystem::path& folder) {
#if defined(_WIN32)
    // The C++ library lists a folder in its long form wrongly, so the system is asked directly.
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((extendedLengthPath(folder) + L"\\*").c_str(), &found);
    std::size_t entries = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring_view name = found.cFileName;
            entries += name != L"." && name != L".." ? 1 : 0;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return entries;
#else
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
#endif
}

TEST(FileReplacement, PutsTheWholeFileInPlaceOnlyOnCommit) {
    std::string rows;
    for (int row = 0; row < 20000; ++row) {
        rows += "unit" + std::to_string(row) + ".ASC,PASS\r\n";
    }
    // Deep enough that the target's full path, and the new file's beside it, pass 260 characters,
    // which Windows opens only in their long form.
    std::filesystem::path deep = "tables";
    for (int level = 0; level < 6; ++level) {
        deep /= "a-folder-name-of-some-forty-characters-" + std::to_string(level);
    }
    const struct {
        const char* name;
        std::filesystem::path target;
        std::string pieces;
        bool committed;
    } cases[] = {
        {"rows past the write buffer arrive whole and in order", "lot.csv", rows, true},
        {"one piece larger than the write buffer", "lot.csv", std::string(200000, 'x'), true},
        {"nothing written gives an empty file", "lot.csv", "", true},
        {"a replacement given up leaves the old file", "lot.csv", rows, false},
        {"a target past 260 characters", deep / "lot.csv", rows, true},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const TemporaryFolder folder;
        const std::filesystem::path target = folder.path() / row.target;
        // The test's own file functions reach a long path only in its long form on Windows.
#if defined(_WIN32)
        const std::filesystem::path reached = extendedLengthPath(target);
#else
        const std::filesystem::path& reached = target;
#endif
        std::filesystem::create_directories(reached.parent_path());
        std::ofstream(reached, std::ios::binary) << "old table";
        {
            auto begun = FileReplacement::begin(target);
            ASSERT_TRUE(std::holds_alternative<FileReplacement>(begun));
            auto& replacement = std::get<FileReplacement>(begun);
            for (std::size_t at = 0; at < row.pieces.size(); at += 7919) {
                replacement.write(std::string_view(row.pieces).substr(at, 7919));
            }
            if (row.committed) {
                EXPECT_FALSE(replacement.commit());
            }
        }
        EXPECT_EQ(contentOf(reached), row.committed ? row.pieces : "old table");
        EXPECT_EQ(entriesIn(target.parent_path()), 1U) << "nothing may be left beside the table";
    }
}

#if !defined(_WIN32)
// Renaming a new file over a device or a FIFO would put a plain file in its place: run as root,
// "--table /dev/null" would take /dev/null away from the whole machine.
TEST(FileReplacement, WritesToAFifoInsteadOfReplacingIt) {
    const TemporaryFolder folder;
    const std::filesystem::path fifo = folder.path() / "table.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Opened for reading first, without waiting, so that the writer finds a reader at once.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_FALSE(replaceFile(fifo, "path,verdict\r\n"));
    char bytes[64] = {};
    const ssize_t count = ::read(reader, bytes, sizeof bytes);
    ::close(reader);
    EXPECT_EQ(std::string(bytes, static_cast<std::size_t>(std::max<ssize_t>(count, 0))),
              "path,verdict\r\n");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(entriesIn(folder.path()), 1U);
}
#endif

TEST(SpectrumChart, SaysWhatItShowsAndWeighsEachPoint) {
    const struct {
        const char* name;
        EvaluatedList evaluation;
        std::string texts;  // title | its note | summary | warning | what the weights are
        std::vector<double> weights;
    } rows[] = {
        {"a fail must come down",
         evaluationOf({{1000, 120}}),
         "FAIL : F = 1.2104|margin -1.66 dB|1 point at 1 kHz||share of F",
         {1}},
        {"two points share F",
         evaluationOf({{1000, 100}, {1000, 100}}),
         "PASS : F = 0.2421|margin +12.32 dB|2 points at 1 kHz||share of F",
         {0.5, 0.5}},
        {"points off the log axis are counted, and F not finite weighs the finite terms",
         evaluationOf({{1000, 120}, {0, 40}, {0, 50}, {2000, 90}}),
         "FAIL : F = inf|no margin|4 points from 1 kHz to 2 kHz; 2 not drawn (frequency not above "
         "0, or a value not finite)||share of finite terms",
         {0.9732, kNan, kNan, 0.0268}},
        {"a list cut short says where, escaped",
         evaluationOf({{1000, 100}}, {ReadingEnd::MalformedItem, 3, "<end\x1b>"}),
         "PASS : F = 0.1210|margin +18.34 dB|1 point at 1 kHz|Reading stopped at line 3 "
         "('<end\\x1b>'): that item and everything after it were not evaluated.|share of F",
         {1}},
        {"F of nothing is 0, which no level change brings to 1",
         evaluationOf({}),
         "PASS : F = 0.0000|no margin|0 points|The file holds no points.|share of finite terms",
         {}},
    };
    for (const auto& row : rows) {
        const plot::Chart chart = plot::spectrumChart({"run.ASC", &row.evaluation.analysis});
        EXPECT_EQ(chart.title + "|" + chart.titleNote + "|" + chart.summary + "|" + chart.warning +
                      "|" + chart.weightName,
                  row.texts)
            << row.name;
        EXPECT_EQ(chart.subject, "run.ASC") << row.name;
        ASSERT_EQ(chart.series.size(), 1U) << row.name;
        ASSERT_EQ(chart.series[0].points.size(), row.weights.size()) << row.name;
        for (std::size_t i = 0; i < row.weights.size(); ++i) {
            const double weight = chart.series[0].points[i].weight;
            EXPECT_TRUE(std::isnan(row.weights[i]) ? std::isnan(weight)
                                                   : std::abs(weight - row.weights[i]) < 1e-4)
                << row.name << ", point " << i << ": " << weight;
        }
    }
}

TEST(MarginBins, KeepEveryListOnItsSideOfThePassLine) {
    const struct {
        const char* name;
        std::vector<double> margins;
        // Lists in bins below 0 dB (drawn as failures) and from 0 dB up.
        std::size_t below, above;
    } rows[] = {
        {"a margin of exactly 0 dB passes", {0.0, 3.0, -2.0}, 1, 2},
        {"a margin just below 0 dB fails", {-1e-12, 0.3, 5.7}, 1, 2},
        {"margins on tenth-dB edges stay on their side", {-0.3, 0.3, -0.1, 0.1, 0.7}, 2, 3},
        {"a lot wholly below the line", {-4.0, -2.5, -0.01}, 3, 0},
        {"one margin", {2.5}, 0, 1},
        {"no margin at all", {}, 0, 0},
    };
    for (const auto& row : rows) {
        const plot::MarginBins bins = plot::marginBins(row.margins, 40);
        std::size_t below = 0;
        std::size_t above = 0;
        for (std::size_t bin = 0; bin < bins.counts.size(); ++bin) {
            (bins.lowerEdge(bin) < 0 ? below : above) += bins.counts[bin];
        }
        EXPECT_EQ(below, row.below) << row.name;
        EXPECT_EQ(above, row.above) << row.name;
        EXPECT_LE(bins.counts.size(), 45U) << row.name;
    }
}

TEST(DeliverInOrder, DeliversEachJobOnceInOrderAndHoldsFewAtATime) {
    const struct {
        const char* name;
        std::size_t jobs;
        unsigned threads;
        // The job whose making, or whose delivery, throws; none when past the last.
        std::size_t failingMake = SIZE_MAX;
        std::size_t failingDelivery = SIZE_MAX;
    } rows[] = {
        {"one thread runs everything on the calling thread", 7, 1},
        {"two threads go round the ring many times", 300, 2},
        {"more threads than jobs", 3, 8},
        {"no job at all", 0, 4},
        {"a throwing job ends the run at its turn", 60, 2, 37},
        {"a throwing first job delivers nothing", 60, 3, 0},
        {"a throwing delivery stops the other threads", 60, 2, SIZE_MAX, 20},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::atomic<std::size_t> held = 0;
        std::atomic<std::size_t> mostHeld = 0;
        std::vector<std::size_t> delivered;
        const auto make = [&](std::size_t job) {
            if (job == row.failingMake) {
                throw std::runtime_error("job failed");
            }
            const std::size_t now = ++held;
            std::size_t most = mostHeld;
            while (now > most && !mostHeld.compare_exchange_weak(most, now)) {
            }
            return job;
        };
        const auto deliver = [&](std::size_t& job) {
            --held;
            if (job == row.failingDelivery) {
                throw std::runtime_error("delivery failed");
            }
            delivered.push_back(job);
        };
        const auto run = [&] {
            deliverInOrder<std::size_t>(
                row.jobs, row.threads, [](std::size_t) { return false; }, make, deliver);
        };
        const std::size_t failing = std::min(row.failingMake, row.failingDelivery);
        if (failing < row.jobs) {
            EXPECT_THROW(run(), std::runtime_error);
        } else {
            run();
        }
        std::vector<std::size_t> expected(std::min(failing, row.jobs));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            expected[i] = i;
        }
        EXPECT_EQ(delivered, expected);
        EXPECT_LE(mostHeld.load(), kJobsAheadPerThread * row.threads)
            << "results waiting for their turn must not grow with the lot";
    }
}

// Jobs in turn read one stream: one at a time in order, and none once the run has stopped, so
// that "- -" cannot keep a stopped run waiting for standard input to close again.
TEST(DeliverInOrder, JobsInTurnRunOneAfterTheOtherAndNotAfterAStop) {
    std::atomic<int> inside = 0;
    std::atomic<bool> overlapped = false;
    std::vector<std::size_t> started;
    std::mutex startedGuard;
    const auto inTurn = [](std::size_t job) { return job % 3 != 0; };
    const auto make = [&](std::size_t job) {
        if (inTurn(job)) {
            overlapped = overlapped || ++inside > 1;
            {
                const std::lock_guard lock(startedGuard);
                started.push_back(job);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            --inside;
        }
        return job;
    };
    deliverInOrder<std::size_t>(60, 4, inTurn, make, [](std::size_t&) {});
    EXPECT_FALSE(overlapped);
    EXPECT_TRUE(std::is_sorted(started.begin(), started.end()));
    EXPECT_EQ(started.size(), 40U);

    // The first job fails while the next in turn still reads; the one after it must never read.
    std::atomic<bool> lastRead = false;
    const auto failing = [&](std::size_t job) {
        if (job == 0) {
            throw std::runtime_error("job failed");
        }
        if (job == 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        lastRead = lastRead || job == 2;
        return job;
    };
    EXPECT_THROW(deliverInOrder<std::size_t>(
                     3, 3, [](std::size_t job) { return job > 0; }, failing, [](std::size_t&) {}),
                 std::runtime_error);
    EXPECT_FALSE(lastRead) << "a job in turn ran after the run stopped";
}

}  // namespace
}  // namespace ambersel::testing
