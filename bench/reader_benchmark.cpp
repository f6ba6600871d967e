// Reads and evaluates a generated list of realistic points twice over: with the program's reader
// and with a plain fscanf loop, alternating in one run so that both meet the same machine load.
// Prints each time, the ratio, and whether both gave the same F to the bit.
//
//   reader_benchmark [POINTS] [FOLDER]     defaults: 5000000 points, the system's temporary folder

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "evaluation/file_handle.h"
#include "evaluation/test_figure.h"
#include "files/list_file.h"
#include "tests/support/realistic_list.h"
#include "tests/support/scan_format_reference.h"

namespace {

using Clock = std::chrono::steady_clock;

ambersel::TestVerdict withOurReader(const std::filesystem::path& path) {
    return ambersel::evaluateTestFigure(ambersel::readListFile(path).points);
}

ambersel::TestVerdict withFscanf(const std::filesystem::path& path) {
    const ambersel::FileHandle file(std::fopen(path.string().c_str(), "r"));
    return ambersel::evaluateTestFigure(ambersel::support::readWithScanFormat(file.get()));
}

template <typename Run>
double secondsOf(Run&& run, ambersel::TestVerdict& verdict) {
    const auto start = Clock::now();
    verdict = run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t points = argc > 1 ? std::stoull(argv[1]) : 5'000'000;
    const std::filesystem::path folder =
        argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
    const std::filesystem::path path = folder / "ambersel-reader-benchmark.ASC";

    if (!ambersel::support::writeRealisticList(path, points)) {
        std::perror("cannot write the list");
        return 2;
    }
    std::printf("list: %zu points, %.1f MB\n", points,
                static_cast<double>(std::filesystem::file_size(path)) / 1e6);

    constexpr int kRounds = 3;
    std::vector<double> ours;
    std::vector<double> baseline;
    ambersel::TestVerdict ourVerdict;
    ambersel::TestVerdict baselineVerdict;
    for (int round = 0; round < kRounds; ++round) {
        ours.push_back(secondsOf([&] { return withOurReader(path); }, ourVerdict));
        baseline.push_back(secondsOf([&] { return withFscanf(path); }, baselineVerdict));
    }
    std::filesystem::remove(path);

    const double bestOurs = *std::min_element(ours.begin(), ours.end());
    const double bestBaseline = *std::min_element(baseline.begin(), baseline.end());
    const bool same = std::bit_cast<std::uint32_t>(ourVerdict.figure) ==
                      std::bit_cast<std::uint32_t>(baselineVerdict.figure);
    std::printf("reader + figure : %.3f s (best of %d)\n", bestOurs, kRounds);
    std::printf("fscanf + figure : %.3f s (best of %d)\n", bestBaseline, kRounds);
    std::printf("ratio           : %.2fx\n", bestBaseline / bestOurs);
    std::printf("F               : %s (0x%08x) %s fscanf's (0x%08x)\n",
                ambersel::formatVerdictUtf8(ourVerdict).c_str(),
                std::bit_cast<std::uint32_t>(ourVerdict.figure), same ? "equals" : "DIFFERS FROM",
                std::bit_cast<std::uint32_t>(baselineVerdict.figure));
    return same ? 0 : 1;
}
