// ambersel-eval: evaluates frequency-level lists from scripts and test sequencers.

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include <CLI/App.hpp>
#include <CLI/Config.hpp>
#include <CLI/Formatter.hpp>

#include "cli/argument_text.h"
#include "cli/band_edges.h"
#include "cli/console_output.h"
#include "cli/file_evaluation.h"
#include "cli/file_list.h"
#include "cli/help_text.h"
#include "cli/json_report.h"
#include "cli/lot_chart.h"
#include "cli/lot_summary.h"
#include "cli/lot_table.h"
#include "cli/parallel_evaluation.h"
#include "cli/path_text.h"
#include "cli/plot_drawing.h"
#include "cli/plot_files.h"
#include "cli/plot_run.h"
#include "cli/record_report.h"
#include "cli/text_reports.h"
#include "cli/wildcard_expansion.h"
#include "evaluation/output_file.h"
#include "evaluation/value_text.h"

namespace {

using namespace ambersel::cli;
using ambersel::generalizedUtf8FromUtf16;

constexpr int kPass = 0;
constexpr int kFail = 1;
constexpr int kError = 2;

constexpr const char* kProgram = "ambersel-eval";
// More threads than this only wait for the disk and each other.
constexpr std::size_t kMostJobs = 256;

struct Options {
    std::vector<std::string> files;
    bool json = false;
    bool pointTable = false;
    std::size_t heaviest = 0;
    std::string plot;
    std::string report;
    std::optional<std::string> bands;  // --bands as given; nothing when absent
    std::vector<double> bandEdges;     // empty: the decades each list spans
    std::string filesFrom;             // --files-from: a file of paths, "-" for standard input
    unsigned jobs = std::clamp(std::thread::hardware_concurrency(), 1U, unsigned{kMostJobs});
    bool summary = false;
    bool byTime = false;
    std::string table;
};

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

int worse(int status, int other) {
    return std::max(status, other);
}

int exitStatusOf(FileStatus status) {
    switch (status) {
        case FileStatus::Pass:
            return kPass;
        case FileStatus::Fail:
            return kFail;
        case FileStatus::Error:
            break;
    }
    return kError;
}

void checkCombinations(Options& options) {
    if (!options.json && options.pointTable && (options.heaviest > 0 || options.bands)) {
        throw UsageError("--points writes a table of its own; --top and --bands go with --json");
    }
    if (!options.json && options.pointTable && options.summary) {
        throw UsageError("--points writes a table of its own; --summary goes with --json");
    }
    if (options.byTime && !options.summary) {
        throw UsageError("--by-time orders the lot's trend picture; it goes with --summary");
    }
    if (options.filesFrom == "-" &&
        std::find(options.files.begin(), options.files.end(), "-") != options.files.end()) {
        throw UsageError(
            "--files-from - reads the file list from standard input; no list can "
            "be read from it too");
    }
    if (options.files.empty() && options.filesFrom.empty()) {
        throw UsageError("no FILE given: name the lists, or give --files-from");
    }
    std::optional<std::string> problem;
    if (!options.plot.empty()) {
        problem = plotNameProblem(options.plot, options.files);
    }
    if (!problem && !options.report.empty()) {
        problem = reportNameProblem(options.report, options.files);
    }
    if (!problem && options.bands && *options.bands != "decades") {
        auto edges = parseBandEdges(*options.bands);
        if (auto* why = std::get_if<std::string>(&edges)) {
            problem = "--bands: " + *why;
        } else {
            options.bandEdges = std::move(std::get<std::vector<double>>(edges));
        }
    }
    if (problem) {
        throw UsageError(*problem);
    }
}

// Writes what one file gives to standard output, in the chosen form; JSON objects without the
// comma between them.
void report(std::ostream& out, const FileEvaluation& evaluation, const Options& options) {
    if (options.json) {
        writeJsonObject(out, evaluation,
                        JsonContent{options.pointTable, options.heaviest, options.bandEdges});
    } else if (options.pointTable) {
        writePointTableRows(out, evaluation);
    } else {
        const std::string line = resultLine(evaluation, options.files.size() > 1);
        if (!line.empty()) {
            out << line << '\n';
        }
        if (evaluation.status != FileStatus::Error && options.heaviest > 0) {
            writeMarginLine(out, evaluation);
            writeHeaviestPoints(out, evaluation, options.heaviest);
        }
        if (evaluation.status != FileStatus::Error && options.bands) {
            writeBands(out, evaluation, options.bandEdges);
        }
    }
}

// What a worker makes of one evaluated file: everything but what needs the calling thread.
void prepare(PreparedFile& file, const Options& options) {
    const FileEvaluation& evaluation = file.evaluation;
    std::ostringstream out;
    report(out, evaluation, options);
    file.standardOutput = std::move(out).str();
    if (evaluation.status == FileStatus::Error) {
        file.standardError = errorMessage(evaluation) + '\n';
    } else if (evaluation.deservesWarning()) {
        file.standardError = "warning: " + readingWarning(evaluation) + '\n';
    }
    if (!options.table.empty()) {
        file.tableRow = lotTableRow(evaluation);
    }
}

// What goes to files besides standard output: each list's plot and the report for the record.
class FileOutputs {
  public:
    explicit FileOutputs(const Options& options) : m_options(options) {}

    // Starts drawing the plot and the report asked for; says why and returns false when this build
    // or installation cannot draw them.
    bool start() {
        // With --summary, a plot name for every list at once names the lot's picture instead.
        m_lotPicture = m_options.summary && !m_options.plot.empty() &&
                       m_options.plot.find(kPlotNamePlaceholder) == std::string::npos;
        auto started = startPlotDrawing(kProgram, m_options.plot, m_options.report);
        if (const auto* why = std::get_if<std::string>(&started)) {
            std::cerr << kProgram << ": " << *why << '\n';
            return false;
        }
        m_drawing.emplace(std::move(std::get<PlotDrawing>(started)));
        if (!m_options.plot.empty() && !m_lotPicture) {
            m_plots.emplace(*m_drawing, m_options.plot, m_options.bandEdges,
                            m_options.files.size());
        }
        if (!m_options.report.empty()) {
            m_report.emplace(*m_drawing, m_options.report, m_options.bandEdges);
        }
        return true;
    }

    // Draws and records `evaluation`, a file with a verdict; the exit status this gives.
    int add(const FileEvaluation& evaluation) {
        int status = kPass;
        if (m_plots) {
            status = worse(status, plotFailure(m_plots->add(evaluation)));
        }
        if (m_report) {
            status = worse(status, failure("the report", m_report->targetFor(evaluation.argument),
                                           m_report->add(evaluation)));
        }
        return status;
    }

    // Draws the one picture of all lists and writes the report of every list, when those are
    // the kinds asked for; with --summary, the lot's picture and figures lead the report.
    int finish(const LotSummary& summary) {
        const int status = m_plots ? plotFailure(m_plots->finish()) : kPass;
        if (!m_report) {
            return status;
        }
        std::optional<ambersel::report::LotPage> lot;
        if (m_options.summary) {
            std::ostringstream text;
            summary.writeText(text);
            std::vector<std::string> figures;
            std::istringstream lines(text.str());
            for (std::string line; std::getline(lines, line);) {
                figures.push_back(line);
            }
            lot = ambersel::report::LotPage{kLotChartSize,
                                            [&](ambersel::plot::Canvas& canvas) {
                                                drawLotChart(canvas, summary, m_options.byTime);
                                            },
                                            lotChartTitle(summary), std::move(figures)};
        }
        return worse(status, failure("the report", m_options.report,
                                     m_report->finish(lot ? &*lot : nullptr)));
    }

    // Draws the lot's picture, when it is asked for.
    int finishLot(const LotSummary& summary) const {
        if (!m_lotPicture) {
            return kPass;
        }
        std::optional<std::string> why;
        const std::filesystem::path target = pathOfCommandLineName(m_options.plot);
        if (plotFormatOf(target) == PlotFormat::Svg) {
            if (const std::error_code error =
                    ambersel::replaceFile(target, lotChartSvg(summary, m_options.byTime))) {
                why = error.message();
            }
        } else {
            why = m_drawing->drawPng(
                kLotChartSize,
                [&](ambersel::plot::Canvas& canvas) {
                    drawLotChart(canvas, summary, m_options.byTime);
                },
                target);
        }
        return failure("the plot", m_options.plot, why);
    }

  private:
    static int plotFailure(const std::optional<PlotFailure>& failed) {
        return failed ? failure("the plot", failed->target, failed->why) : kPass;
    }

    static int failure(const char* what, const std::filesystem::path& target,
                       const std::optional<std::string>& why) {
        if (!why) {
            return kPass;
        }
        std::cerr << kProgram << ": cannot write " << what << " "
                  << printedPath(argumentOfPath(target)) << " (" << *why << ")\n";
        return kError;
    }

    const Options& m_options;
    std::optional<PlotDrawing> m_drawing;
    std::optional<PlotRun> m_plots;
    std::optional<RecordReport> m_report;
    bool m_lotPicture = false;
};

int evaluateAll(Options& options) {
    if (!options.filesFrom.empty()) {
        auto listed = readFileList(options.filesFrom);
        if (auto* why = std::get_if<std::string>(&listed)) {
            std::cerr << kProgram << ": cannot read the file list "
                      << printedPath(options.filesFrom) << " (" << *why << ")\n";
            return kError;
        }
        auto& paths = std::get<std::vector<std::string>>(listed);
        options.files.insert(options.files.end(), std::make_move_iterator(paths.begin()),
                             std::make_move_iterator(paths.end()));
    }
    options.files = expandedArguments(std::move(options.files));
    checkCombinations(options);
    // Begun before any list is evaluated, so that a table that cannot be written costs nothing.
    std::optional<ambersel::FileReplacement> table;
    if (!options.table.empty()) {
        auto begun = ambersel::FileReplacement::begin(pathOfCommandLineName(options.table));
        if (const auto* why = std::get_if<std::error_code>(&begun)) {
            std::cerr << kProgram << ": cannot write the table " << printedPath(options.table)
                      << " (" << why->message() << ")\n";
            return kError;
        }
        table.emplace(std::move(std::get<ambersel::FileReplacement>(begun)));
        table->write(lotTableHeader());
    }
    FileOutputs outputs(options);
    if (!outputs.start()) {
        return kError;
    }
    const bool jsonSummary = options.json && options.summary;
    if (options.json) {
        std::cout << (jsonSummary ? "{\"files\":[\n" : "[\n");
    } else if (options.pointTable) {
        writePointTableHeader(std::cout);
    }
    int status = kPass;
    bool first = true;
    LotSummary summary;
    evaluateInOrder(
        options.files, options.jobs,
        options.report.empty() && options.table.empty() && !options.byTime ? FileFactsWanted::No
                                                                           : FileFactsWanted::Yes,
        [&options](PreparedFile& file) { prepare(file, options); },
        [&](PreparedFile& file) {
            const FileEvaluation& evaluation = file.evaluation;
            std::cerr << file.standardError;
            std::cout << (first || !options.json ? "" : ",\n") << file.standardOutput;
            // A sequencer reading the output as it comes sees each file as soon as it is done.
            std::cout.flush();
            first = false;
            if (table) {
                table->write(file.tableRow);
            }
            if (options.summary) {
                summary.add(evaluation);
            }
            status = worse(status, exitStatusOf(evaluation.status));
            if (evaluation.status != FileStatus::Error) {
                status = worse(status, outputs.add(evaluation));
            }
        });
    status = worse(status, outputs.finish(summary));
    status = worse(status, outputs.finishLot(summary));
    if (options.json) {
        std::cout << "\n]";
        if (jsonSummary) {
            std::cout << ",\n\"summary\":";
            summary.writeJson(std::cout);
            std::cout << "}";
        }
        std::cout << "\n";
    } else if (options.summary) {
        summary.writeText(std::cout);
    }
    if (table) {
        if (const std::error_code why = table->commit()) {
            std::cerr << kProgram << ": cannot write the table " << printedPath(options.table)
                      << " (" << why.message() << ")\n";
            status = kError;
        }
    }
    std::cout.flush();
    if (!std::cout) {
        // Output lost (a full disk, a closed pipe) must not look like a clean run.
        std::cerr << kProgram << ": cannot write the report to standard output\n";
        return kError;
    }
    return status;
}

std::string oneLine(std::string text) {
    for (char& c : text) {
        c = c == '\n' ? ' ' : c;
    }
    return text;
}

int usageError(const std::string& message) {
    std::cerr << kProgram << ": " << oneLine(message) << "; try '" << kProgram << " --help'\n";
    return kError;
}

// A count from 1 to `most`.
CLI::Validator wholeNumberUpTo(std::size_t most) {
    return CLI::Validator(
        [most](std::string& value) {
            std::size_t count = 0;
            const char* end = value.data() + value.size();
            const auto parsed = std::from_chars(value.data(), end, count);
            if (parsed.ec == std::errc() && parsed.ptr == end && count > 0 && count <= most) {
                return std::string();
            }
            return "N must be a whole number of at least 1" +
                   (most < SIZE_MAX ? " and at most " + std::to_string(most) : std::string()) +
                   ", not '" + value + "'";
        },
        "");
}

int run(int argc, char** argv) {
    CLI::App app(kDescription, kProgram);
    app.footer(kFooter);
    app.set_version_flag("--version", std::string(kProgram) + " " + AMBERSEL_VERSION);
    app.get_formatter()->column_width(24);

    Options options;
    app.add_option("FILE", options.files, "list files to evaluate; - for standard input")
        ->type_name("");
    app.add_flag("--json", options.json, "write one JSON array with one object per file");
    app.add_flag("--points", options.pointTable,
                 "write the per-point table (CSV, or inside the JSON with --json)");
    app.add_option("--top", options.heaviest, "list the N points that contribute most to F")
        ->type_name("N")
        ->check(wholeNumberUpTo(SIZE_MAX));
    app.add_option("--plot", options.plot, "draw each list to FILE.svg or FILE.png")
        ->type_name("FILE");
    app.add_option("--report", options.report,
                   "write the report for the record to FILE.pdf or FILE.html")
        ->type_name("FILE");
    app.add_option("--bands", options.bands,
                   "share of F by band: edges such as 150k,1M,10M,30M, or 'decades'")
        ->type_name("EDGES");
    app.add_option("--files-from", options.filesFrom,
                   "also evaluate the lists named in FILE, one path per line; - for standard input")
        ->type_name("FILE");
    app.add_option("--jobs", options.jobs,
                   "evaluate N lists at a time (default: one per processor core)")
        ->type_name("N")
        ->check(wholeNumberUpTo(kMostJobs));
    app.add_flag("--summary", options.summary,
                 "after the lists, the lot's yield, margins, Cpk and lowest margins");
    app.add_option("--table", options.table, "write one CSV row per list to FILE.csv")
        ->type_name("FILE");
    app.add_flag("--by-time", options.byTime,
                 "with --summary --plot: the trend over the files' modification times");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& request) {
        return app.exit(request);
    } catch (const CLI::CallForVersion& request) {
        return app.exit(request);
    } catch (const CLI::ParseError& error) {
        return usageError(error.what());
    }
    try {
        return evaluateAll(options);
    } catch (const UsageError& error) {
        return usageError(error.what());
    }
}

#if defined(_WIN32)
// The arguments as bytes, in the generalized UTF-8 that names every Windows file exactly.
int runWithWideArguments(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        const std::wstring_view argument = argv[i];
        arguments.push_back(
            generalizedUtf8FromUtf16(std::u16string(argument.begin(), argument.end())));
    }
    std::vector<char*> pointers;
    pointers.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    return run(argc, pointers.data());
}
#endif

}  // namespace

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
    // Lists and reports are bytes: no line end is changed on the way in or out, so the output is
    // the same as on every other system and a Ctrl-Z in a list is just a byte.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    const ConsoleOutput console;
    try {
        return runWithWideArguments(argc, argv);
#else
int main(int argc, char** argv) {
    try {
        return run(argc, argv);
#endif
    } catch (const std::bad_alloc&) {
        std::cerr << kProgram << ": out of memory\n";
        return kError;
    } catch (const std::exception& error) {
        std::cerr << kProgram << ": " << error.what() << '\n';
        return kError;
    }
}
