// ambersel-eval: evaluates frequency-level lists from scripts and test sequencers.

#include <exception>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/file_list.h"
#include "cli/list_job.h"
#include "cli/options.h"
#include "cli/ordered_jobs.h"
#include "cli/plot_drawing.h"
#include "cli/run_outputs.h"
#include "report/list_record.h"
#include "text/byte_text.h"
#include "text/unicode_text.h"

namespace {

using namespace ambersel::cli;

// Adds the lists --files-from names to the files; why it could not be read, or nothing.
std::optional<int> readListedFiles(Options& options) {
    if (options.filesFrom.empty()) {
        return std::nullopt;
    }
    auto listed = readFileList(options.filesFrom);
    if (auto* why = std::get_if<std::string>(&listed)) {
        std::cerr << kProgram << ": cannot read the file list "
                  << ambersel::escapedBytes(options.filesFrom, true) << " (" << *why << ")\n";
        return kError;
    }
    auto& paths = std::get<std::vector<std::string>>(listed);
    options.files.insert(options.files.end(), std::make_move_iterator(paths.begin()),
                         std::make_move_iterator(paths.end()));
    return std::nullopt;
}

int evaluateAll(Options& options) {
    if (const std::optional<int> failed = readListedFiles(options)) {
        return *failed;
    }
    checkCombinations(options);
    std::optional<ambersel::report::ReportHeading> heading;
    if (!options.report.empty()) {
        // Checked by checkCombinations(): a report's time is known.
        heading = std::get<ambersel::report::ReportHeading>(
            ambersel::report::reportHeadingNow(AMBERSEL_VERSION));
    }
    auto started = startPlotDrawing(kProgram, options.plot, options.report);
    if (const auto* why = std::get_if<std::string>(&started)) {
        std::cerr << kProgram << ": " << *why << '\n';
        return kError;
    }
    const std::unique_ptr<PlotDrawing> drawing =
        std::move(std::get<std::unique_ptr<PlotDrawing>>(started));
    RunOutputs outputs(options, *drawing, heading);
    if (const std::optional<int> ended = outputs.begin()) {
        return *ended;
    }
    const ListJob job(options, *drawing, heading);
    deliverInOrder<ListOutputs>(
        options.files.size(), options.jobs,
        [&](std::size_t index) { return options.files[index] == "-"; },
        [&](std::size_t index) { return job(options.files[index]); },
        [&](ListOutputs& made) { outputs.deliver(made); });
    return outputs.finish();
}

int run(int argc, char** argv) {
    std::variant<Options, int> parsed = parseOptions(argc, argv);
    if (const int* status = std::get_if<int>(&parsed)) {
        return *status;
    }
    try {
        return evaluateAll(std::get<Options>(parsed));
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
            ambersel::generalizedUtf8FromUtf16(std::u16string(argument.begin(), argument.end())));
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

// The run, with what it throws said on standard error.
template <typename Run>
int reported(Run&& run) {
    try {
        return run();
    } catch (const std::bad_alloc&) {
        std::cerr << kProgram << ": out of memory\n";
    } catch (const std::exception& error) {
        std::cerr << kProgram << ": " << error.what() << '\n';
    }
    return kError;
}

}  // namespace

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
    // Lists and reports are bytes: no line end is changed on the way in or out, so the output is
    // the same as on every other system and a Ctrl-Z in a list is just a byte.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    return reported([&] { return runWithWideArguments(argc, argv); });
}
#else
int main(int argc, char** argv) {
    return reported([&] { return run(argc, argv); });
}
#endif
