// ambersel-eval: evaluates frequency-level lists from scripts and test sequencers.

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
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
#include "cli/file_evaluation.h"
#include "cli/help_text.h"
#include "cli/json_report.h"
#include "cli/plot_drawing.h"
#include "cli/plot_files.h"
#include "cli/plot_run.h"
#include "cli/record_report.h"
#include "cli/text_reports.h"
#include "evaluation/value_text.h"

namespace {

using namespace ambersel::cli;
using ambersel::escapedBytes;
using ambersel::generalizedUtf8FromUtf16;

constexpr int kPass = 0;
constexpr int kFail = 1;
constexpr int kError = 2;

constexpr const char* kProgram = "ambersel-eval";

struct Options {
    std::vector<std::string> files;
    bool json = false;
    bool pointTable = false;
    std::size_t heaviest = 0;
    std::string plot;
    std::string report;
    std::optional<std::string> bands;  // --bands as given; nothing when absent
    std::vector<double> bandEdges;     // empty: the decades each list spans
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

// Writes what one file gives to standard output, in the chosen form.
void report(const FileEvaluation& evaluation, const Options& options, bool first) {
    if (options.json) {
        std::cout << (first ? "" : ",\n");
        writeJsonObject(std::cout, evaluation,
                        JsonContent{options.pointTable, options.heaviest, options.bandEdges});
    } else if (options.pointTable) {
        writePointTableRows(std::cout, evaluation);
    } else {
        const std::string line = resultLine(evaluation, options.files.size() > 1);
        if (!line.empty()) {
            std::cout << line << '\n';
        }
        if (evaluation.status != FileStatus::Error && options.heaviest > 0) {
            writeMarginLine(std::cout, evaluation);
            writeHeaviestPoints(std::cout, evaluation, options.heaviest);
        }
        if (evaluation.status != FileStatus::Error && options.bands) {
            writeBands(std::cout, evaluation, options.bandEdges);
        }
    }
    // A sequencer reading the output as it comes sees each file as soon as it is done.
    std::cout.flush();
}

// What goes to files besides standard output: each list's plot and the report for the record.
class FileOutputs {
  public:
    explicit FileOutputs(const Options& options) : m_options(options) {}

    // Starts drawing the plot and the report asked for; says why and returns false when this build
    // or installation cannot draw them.
    bool start() {
        auto started = startPlotDrawing(kProgram, m_options.plot, m_options.report);
        if (const auto* why = std::get_if<std::string>(&started)) {
            std::cerr << kProgram << ": " << *why << '\n';
            return false;
        }
        m_drawing.emplace(std::move(std::get<PlotDrawing>(started)));
        if (!m_options.plot.empty()) {
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
    // the kinds asked for.
    int finish() {
        const int status = m_plots ? plotFailure(m_plots->finish()) : kPass;
        return worse(
            status, m_report ? failure("the report", m_options.report, m_report->finish()) : kPass);
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
                  << escapedBytes(argumentOfPath(target), true) << " (" << *why << ")\n";
        return kError;
    }

    const Options& m_options;
    std::optional<PlotDrawing> m_drawing;
    std::optional<PlotRun> m_plots;
    std::optional<RecordReport> m_report;
};

int evaluateAll(Options& options) {
    checkCombinations(options);
    FileOutputs outputs(options);
    if (!outputs.start()) {
        return kError;
    }
    if (options.json) {
        std::cout << "[\n";
    } else if (options.pointTable) {
        writePointTableHeader(std::cout);
    }
    int status = kPass;
    bool first = true;
    for (const std::string& file : options.files) {
        const FileEvaluation evaluation = evaluateListFile(
            file, options.report.empty() ? FileFactsWanted::No : FileFactsWanted::Yes);
        if (evaluation.status == FileStatus::Error) {
            std::cerr << errorMessage(evaluation) << '\n';
        } else if (evaluation.deservesWarning()) {
            std::cerr << "warning: " << readingWarning(evaluation) << '\n';
        }
        report(evaluation, options, first);
        first = false;
        status = worse(status, exitStatusOf(evaluation.status));
        if (evaluation.status != FileStatus::Error) {
            status = worse(status, outputs.add(evaluation));
        }
    }
    status = worse(status, outputs.finish());
    if (options.json) {
        std::cout << "\n]\n";
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

int run(int argc, char** argv) {
    CLI::App app(kDescription, kProgram);
    app.footer(kFooter);
    app.set_version_flag("--version", std::string(kProgram) + " " + AMBERSEL_VERSION);
    app.get_formatter()->column_width(24);

    Options options;
    app.add_option("FILE", options.files, "list files to evaluate; - for standard input")
        ->type_name("")
        ->required();
    app.add_flag("--json", options.json, "write one JSON array with one object per file");
    app.add_flag("--points", options.pointTable,
                 "write the per-point table (CSV, or inside the JSON with --json)");
    app.add_option("--top", options.heaviest, "list the N points that contribute most to F")
        ->type_name("N")
        ->check(CLI::Validator(
            [](std::string& value) {
                std::size_t count = 0;
                const char* end = value.data() + value.size();
                const auto parsed = std::from_chars(value.data(), end, count);
                return parsed.ec == std::errc() && parsed.ptr == end && count > 0
                           ? std::string()
                           : "N must be a whole number of at least 1, not '" + value + "'";
            },
            ""));
    app.add_option("--plot", options.plot, "draw each list to FILE.svg or FILE.png")
        ->type_name("FILE");
    app.add_option("--report", options.report,
                   "write the report for the record to FILE.pdf or FILE.html")
        ->type_name("FILE");
    app.add_option("--bands", options.bands,
                   "share of F by band: edges such as 150k,1M,10M,30M, or 'decades'")
        ->type_name("EDGES");

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
