// ambersel-eval: evaluates frequency-level lists from scripts and test sequencers.

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include <CLI/App.hpp>
#include <CLI/Config.hpp>
#include <CLI/Formatter.hpp>

#include "cli/band_edges.h"
#include "cli/file_evaluation.h"
#include "cli/json_report.h"
#include "cli/number_text.h"
#include "cli/plot_drawing.h"
#include "cli/plot_files.h"
#include "cli/record_report.h"
#include "cli/text_reports.h"

namespace {

using namespace ambersel::cli;

constexpr int kPass = 0;
constexpr int kFail = 1;
constexpr int kError = 2;

constexpr const char* kProgram = "ambersel-eval";

constexpr const char* kDescription =
    "Evaluates frequency-level lists with the Ambersel acceptance test, one FILE after the other.\n"
    "A list (*.ASC) holds one \"frequency,level\" point per line: the frequency in Hz, the level\n"
    "in dBuV. FILE \"-\" reads the list from standard input; reach a file named \"-\" as "
    "\"./-\".\n";

constexpr const char* kFooter = R"help(OUTPUT (standard output)
  Without options: one line per FILE. With one FILE it is exactly the result line the
  dialog shows, "PASS : F = 0.1210" or "FAIL : F = 1.2104", and nothing for a file that
  cannot be read. With several FILEs each line is that result line, a tab and the path,
  or "ERROR", a tab and the path. Control characters and backslashes in a path are
  printed as \xHH and \\.
  The test passes when 0 <= F <= 1. Numbers are always written with a full stop,
  whatever the locale.

  --top N       after each result line, the N points that contribute most to F:
                  "  1. point 412: 2100000 Hz, 96.3 dBµV, term 0.0123457, 12.3% of F"
                (point = position in the list, from 1; term = the point's addend of F).
  --points      instead of the result lines, one CSV table with a header row and a row
                per point of every file: path, index, frequency_Hz, level_dBuV, the
                figure's intermediates, the point's term and running_F, F after that
                point. The last running_F of a file is its F, to the bit. For a point
                (x Hz, L dBuV): a = L/20, b = 10^a, V = b * 1e-6 (the level in volts),
                Z = 3.629e-05 * (1000 x)^0.5283 + 0.1087, w = 12.56637061 x / 1000,
                s = sqrt(1 + w^2), K = s V / (0.475166 Z), D = 0.135 x, term = K / D.
                Values are shortest round-trip decimals; inf, -inf, nan, -nan where not
                finite.
  --json        instead, one JSON array with one object per FILE, each on its own line:
                  path          the FILE argument (bytes that are not UTF-8 become U+FFFD)
                  verdict       "PASS", "FAIL" or "ERROR"
                  line          the result line; null for ERROR
                  figure        F as the shortest decimal that reads back to the same
                                single-precision float; null when F is not finite
                  figure_text   the same decimal as a string, or "inf", "-inf", "nan",
                                "-nan" when F is not finite; null for ERROR
                  figure_bits   F's IEEE single-precision bits, "0x3DF7E5F5"; null for ERROR
                  point_count   the number of points read
                  stop          where reading ended: {"reason": "end_of_file",
                                "malformed_item", "read_error" or "file_changed" (written
                                to while it was read), "line": the line where the
                                malformed item begins or null, "excerpt": the start of its
                                text or null}; null when the file did not open
                  error         why the file gave no verdict; null otherwise
                  top           with --top N: [{index, frequency, level, term, share}],
                                share = term / F, null when F is not finite or 0
                  points        with --points: [{index, frequency, level, a, b, V, Z, w, s,
                                K, D, term, running_figure}]
                Numbers inside top and points that are not finite are null.
  --plot FILE   also draws each list to FILE, an SVG or a PNG picture by its extension:
                level over a logarithmic frequency axis, each point coloured and sized by
                its share of F, the verdict and F in the title, where reading stopped.
                With several FILEs the plot name must hold {name}, which stands for the
                list's file name without extension ("stdin" for -).

WARNINGS AND ERRORS (standard error)
  A list ends quietly at the first item that is not "number,number". When that cuts a
  file short, or a file gives no points at all, a warning says so:
    warning: run.ASC: read 2 points; stopped at line 3: 'end'
    warning: empty.ASC: read 0 points; the file holds no items
  A file that cannot be opened or read: "Error in the input file: PATH (reason)"; the
  other files are still evaluated.

EXIT STATUS
  0  every file passes
  1  at least one file fails
  2  a file cannot be opened or read, a plot or the report cannot be written, the
     command line is wrong, or memory runs out; 2 wins over 1

EXAMPLES
  ambersel-eval run.ASC
  ambersel-eval lab/*.ASC --json > verdicts.json
  ambersel-eval --top 5 run.ASC
  ambersel-eval --points run.ASC > points.csv
  ambersel-eval --plot 'plots/{name}.png' lab/*.ASC
  measure | ambersel-eval -)help";

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

    // Starts drawing when a plot or a report is asked for; false when this build draws none.
    bool start() {
        if (m_options.plot.empty() && m_options.report.empty()) {
            return true;
        }
        m_drawing = startPlotDrawing(kProgram);
        if (m_drawing && !m_options.report.empty()) {
            m_report.emplace(*m_drawing, m_options.report, m_options.bandEdges);
        }
        return m_drawing != nullptr;
    }

    // Draws and records `evaluation`, a file with a verdict; the exit status this gives.
    int add(const FileEvaluation& evaluation) {
        int status = kPass;
        if (!m_options.plot.empty()) {
            const std::filesystem::path target = plotTargetFor(m_options.plot, evaluation.argument);
            status =
                worse(status, failure("the plot", target,
                                      m_drawing->draw(evaluation, target, *plotFormatOf(target))));
        }
        if (m_report) {
            status = worse(status, failure("the report", m_report->targetFor(evaluation.argument),
                                           m_report->add(evaluation)));
        }
        return status;
    }

    // Writes the report of every list, when that is the kind asked for.
    int finish() {
        return m_report ? failure("the report", m_options.report, m_report->finish()) : kPass;
    }

  private:
    static int failure(const char* what, const std::filesystem::path& target,
                       const std::optional<std::string>& why) {
        if (!why) {
            return kPass;
        }
        std::cerr << kProgram << ": cannot write " << what << " "
                  << escapedBytes(target.string(), true) << " (" << *why << ")\n";
        return kError;
    }

    const Options& m_options;
    std::unique_ptr<PlotDrawing> m_drawing;
    std::optional<RecordReport> m_report;
};

int evaluateAll(Options& options) {
    checkCombinations(options);
    FileOutputs outputs(options);
    if (!outputs.start()) {
        std::cerr << kProgram << ": this build draws no pictures and writes no reports (it was "
                  << "built without Qt); leave out --plot and --report\n";
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
        const FileEvaluation evaluation = evaluateListFile(file);
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

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << kProgram << ": out of memory\n";
        return kError;
    } catch (const std::exception& error) {
        std::cerr << kProgram << ": " << error.what() << '\n';
        return kError;
    }
}
