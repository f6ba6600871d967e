#pragma once

// ambersel-eval's options, as parsed from its command line and checked against one another, and
// what of a list's analysis and file they ask for.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "evaluation/list_analysis.h"
#include "files/list_reading.h"

namespace ambersel::cli {

inline constexpr const char* kProgram = "ambersel-eval";

// The exit statuses, worst last.
inline constexpr int kPass = 0;
inline constexpr int kFail = 1;
inline constexpr int kError = 2;

// More threads than this only wait for the disk and each other.
inline constexpr std::size_t kMostJobs = 256;

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
    unsigned jobs = 1;
    bool summary = false;
    bool byTime = false;
    std::string table;

    // With --summary, a plot name for every list at once names the lot's picture.
    bool plotsTheLot() const;
    // Several lists drawn over one another on one picture, once the last is in.
    bool plotsOnePicture() const;
    // What every list's analysis must hold for the outputs asked for.
    AnalysisScope analysisScope() const;
    // Whether the outputs need the files' facts, which costs a hash of each.
    FactsWanted factsWanted() const;
};

// A command line the program refuses: its message, said with a hint at --help.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The options of `argv`, or the exit status of a run that ends here: --help and --version
// answered, or a usage error reported on standard error.
std::variant<Options, int> parseOptions(int argc, char** argv);

// Checks the options against one another and the files named, once the file list is whole, and
// reads --bands' edges. Throws UsageError.
void checkCombinations(Options& options);

// Reports `message` as a usage error on standard error; the exit status that goes with it.
int usageError(const std::string& message);

}  // namespace ambersel::cli
