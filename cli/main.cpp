// ambersel-eval FILE: evaluates one frequency-level list and prints its result line.
// Exit status: 0 for a pass, 1 for a fail, 2 when the file cannot be opened or read.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <new>

#include "evaluation/list_file.h"
#include "evaluation/test_figure.h"

namespace {

constexpr int kPass = 0;
constexpr int kFail = 1;
constexpr int kError = 2;

int evaluate(const std::filesystem::path& path) {
    const ambersel::ListFileReading reading = ambersel::readListFile(path);
    if (!reading.opened() || reading.stop.end == ambersel::ReadingEnd::ReadError) {
        const std::string reason =
            reading.opened() ? "read error" : reading.openError.message();
        std::cerr << "Error in the input file: " << path.native() << " (" << reason << ")\n";
        return kError;
    }
    const ambersel::TestVerdict verdict = ambersel::evaluateTestFigure(reading.points);
    std::cout << ambersel::formatVerdictUtf8(verdict) << '\n';
    return verdict.failed ? kFail : kPass;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: ambersel-eval FILE\n";
        return kError;
    }
    try {
        // The path is taken as the bytes the system handed over, whatever their encoding.
        return evaluate(std::filesystem::path(argv[1]));
    } catch (const std::bad_alloc&) {
        std::cerr << "ambersel-eval: out of memory\n";
        return kError;
    }
}
