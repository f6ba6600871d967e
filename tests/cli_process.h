#pragma once

// Runs the built ambersel-eval as a script would, through the shell: arguments, standard input,
// environment, and what comes back; and matches what it wrote against a pattern.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "test_files.h"

namespace ambersel::testing {

struct EvaluatorRun {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Any bytes but NUL, as one shell word.
inline std::string shellWord(const std::string& text) {
    std::string word = "'";
    for (const char c : text) {
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return word + "'";
}

// How a run differs from a plain one.
struct RunSetting {
    std::string input = "";
    std::vector<std::string> environment = {};  // variables to set, "NAME=value"
    // Where standard output goes instead of being captured (for example /dev/full).
    std::optional<std::string> outputTo = std::nullopt;
    std::string shellFirst = "";  // shell commands run before the program ("ulimit -f 4")
    std::filesystem::path program = AMBERSEL_EVAL;
};

// Runs the program in `folder`.
inline EvaluatorRun runEvaluator(const std::filesystem::path& folder,
                                 const std::vector<std::string>& arguments,
                                 const RunSetting& setting = {}) {
    const TemporaryFolder io;
    // Under a locale whose decimal separator is a comma, as on many a lab's computer: every output
    // checked must still be written with the full stop.
    std::string command = "cd " + shellWord(folder) + " && " + setting.shellFirst +
                          " env LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8";
    for (const std::string& assignment : setting.environment) {
        command += " " + shellWord(assignment);
    }
    command += " " + shellWord(setting.program);
    for (const std::string& argument : arguments) {
        command += " " + shellWord(argument);
    }
    command += " <" + shellWord(io.write("in", setting.input)) + " >" +
               shellWord(setting.outputTo.value_or(io.path() / "out")) + " 2>" +
               shellWord(io.path() / "err");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, contentOf(io.path() / "out"),
            contentOf(io.path() / "err")};
}

// '*' in the pattern stands for any text within one line.
inline bool matches(const std::string& text, const std::string& pattern) {
    std::string expression;
    for (const char c : pattern) {
        const bool special = std::string_view("\\^$.|?+()[]{}").find(c) != std::string_view::npos;
        expression += c == '*' ? std::string("[^\n]*") : (special ? "\\" : "") + std::string(1, c);
    }
    return std::regex_match(text, std::regex(expression));
}

}  // namespace ambersel::testing
