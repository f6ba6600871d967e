#include "cli_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "test_files.h"

extern char** environ;

namespace ambersel::testing {
namespace {

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> environmentWith(const std::vector<std::string>& changes) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string_view entry(*variable);
        const std::string_view name = entry.substr(0, entry.find('='));
        bool changed = false;
        for (const std::string& change : changes) {
            changed = changed || std::string_view(change).substr(0, change.find('=')) == name;
        }
        if (!changed) {
            variables.emplace_back(entry);
        }
    }
    for (const std::string& change : changes) {
        if (change.find('=') != std::string::npos) {
            variables.push_back(change);
        }
    }
    return variables;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

class FileActions {
  public:
    FileActions() { posix_spawn_file_actions_init(&m_actions); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    ~FileActions() { posix_spawn_file_actions_destroy(&m_actions); }
    void open(int descriptor, const std::string& path, int flags) {
        posix_spawn_file_actions_addopen(&m_actions, descriptor, path.c_str(), flags, 0644);
    }
    const posix_spawn_file_actions_t* get() const { return &m_actions; }

  private:
    posix_spawn_file_actions_t m_actions{};
};

}  // namespace

EvaluatorRun runEvaluator(const std::vector<std::string>& arguments,
                          const EvaluatorSettings& settings) {
    const TemporaryFolder io;
    const std::filesystem::path in = io.write("in", settings.standardInput);
    const std::filesystem::path out = io.path() / "out";
    const std::filesystem::path err = io.path() / "err";

    std::vector<std::string> argumentTexts{AMBERSEL_EVAL};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environmentTexts = environmentWith(settings.environment);
    const std::vector<char*> argv = pointersTo(argumentTexts);
    const std::vector<char*> envp = pointersTo(environmentTexts);

    FileActions actions;
    actions.open(0, in, O_RDONLY);
    actions.open(1, settings.standardOutputPath.value_or(out.string()),
                 O_WRONLY | O_CREAT | O_TRUNC);
    actions.open(2, err, O_WRONLY | O_CREAT | O_TRUNC);
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], actions.get(), nullptr, argv.data(), envp.data()) != 0) {
        throw std::runtime_error("cannot start " + argumentTexts[0]);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        throw std::runtime_error("cannot wait for " + argumentTexts[0]);
    }
    EvaluatorRun run;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    run.out = contentOf(out);
    run.err = contentOf(err);
    return run;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string sourceFolder() {
    return AMBERSEL_SOURCE_TREE;
}

}  // namespace ambersel::testing
