#pragma once

// Runs the built ambersel-eval as a script would: arguments, standard input, environment, and
// what comes back (exit status, standard output, standard error).

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ambersel::testing {

struct EvaluatorRun {
    int exitStatus = -1;  // the exit status, or minus the signal that ended the process
    std::string out;
    std::string err;
};

struct EvaluatorSettings {
    std::string standardInput;
    // Variables to set ("NAME=value") or, given as "NAME", to remove.
    std::vector<std::string> environment;
    // Where standard output goes instead of being captured (for example /dev/full).
    std::optional<std::string> standardOutputPath;
};

inline EvaluatorSettings withInput(std::string text) {
    EvaluatorSettings settings;
    settings.standardInput = std::move(text);
    return settings;
}

inline EvaluatorSettings withEnvironment(std::vector<std::string> changes) {
    EvaluatorSettings settings;
    settings.environment = std::move(changes);
    return settings;
}

inline EvaluatorSettings writingOutputTo(std::string path) {
    EvaluatorSettings settings;
    settings.standardOutputPath = std::move(path);
    return settings;
}

EvaluatorRun runEvaluator(const std::vector<std::string>& arguments,
                          const EvaluatorSettings& settings = {});

// The lines of `text`, without their line ends.
std::vector<std::string> linesOf(const std::string& text);

// The folder of the source tree, for the bundled examples.
std::string sourceFolder();

}  // namespace ambersel::testing
