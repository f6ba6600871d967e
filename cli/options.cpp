#include "cli/options.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iostream>
#include <thread>

#include <CLI/App.hpp>
#include <CLI/Config.hpp>
#include <CLI/Formatter.hpp>

#include "cli/band_edges.h"
#include "cli/help_text.h"
#include "cli/plot_files.h"
#include "cli/record_report.h"

namespace ambersel::cli {
namespace {

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
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

void addOptions(CLI::App& app, Options& options) {
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
}

}  // namespace

bool Options::plotsTheLot() const {
    return summary && !plot.empty() && plot.find(kPlotNamePlaceholder) == std::string::npos;
}

bool Options::plotsOnePicture() const {
    return !plot.empty() && !plotsTheLot() && drawsOnePicture(plot, files.size());
}

AnalysisScope Options::analysisScope() const {
    const bool listPictures = !plot.empty() && !plotsTheLot();
    const bool records = !report.empty();
    AnalysisScope scope;
    scope.terms = listPictures || records;
    scope.bands = json || bands.has_value() || listPictures || records;
    scope.bandEdges = bandEdges;
    scope.heaviest = std::max(heaviest, records ? kRecordedContributors : std::size_t{0});
    return scope;
}

FactsWanted Options::factsWanted() const {
    return report.empty() && table.empty() && !byTime ? FactsWanted::No : FactsWanted::Yes;
}

std::variant<Options, int> parseOptions(int argc, char** argv) {
    CLI::App app(kDescription, kProgram);
    app.footer(kFooter);
    app.set_version_flag("--version", std::string(kProgram) + " " + AMBERSEL_VERSION);
    app.get_formatter()->column_width(24);
    Options options;
    options.jobs = std::clamp(std::thread::hardware_concurrency(), 1U, unsigned{kMostJobs});
    addOptions(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& request) {
        return app.exit(request);
    } catch (const CLI::CallForVersion& request) {
        return app.exit(request);
    } catch (const CLI::ParseError& error) {
        return usageError(error.what());
    }
    return options;
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

int usageError(const std::string& message) {
    std::cerr << kProgram << ": " << oneLine(message) << "; try '" << kProgram << " --help'\n";
    return kError;
}

}  // namespace ambersel::cli
