// Peak memory of evaluating a very large list: generates a list file of realistic points (by
// default 100,000,000 points, about 1.7 GB), evaluates it once with the program's reader and once
// with a plain fscanf loop, each in a process of its own, and prints each one's peak resident
// memory, time and F, and whether both F agree to the bit. The file is deleted at the end.
// Exits with status 1 when the program's peak exceeds the limit or the two F differ.
//
//   memory_benchmark [POINTS] [FOLDER] [LIMIT_MB]
//       defaults: 100000000 points, the system's temporary folder, 1200 MB (10^6 bytes)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "evaluation/file_handle.h"
#include "evaluation/test_figure.h"
#include "files/list_file.h"
#include "tests/support/realistic_list.h"
#include "tests/support/scan_format_reference.h"

namespace {

namespace fs = std::filesystem;

// The generated list, deleted when it goes.
class ListFile {
  public:
    explicit ListFile(fs::path path) : m_path(std::move(path)) {}
    ListFile(const ListFile&) = delete;
    ListFile& operator=(const ListFile&) = delete;
    ~ListFile() {
        std::error_code ignored;
        fs::remove(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

  private:
    fs::path m_path;
};

// What one evaluation reports back from its own process.
struct Measurement {
    std::uint32_t figureBits = 0;
    std::uint64_t points = 0;
    long peakKilobytes = 0;  // as the system counts them: 1024 bytes
    double seconds = 0;
    bool complete = false;  // the whole file was read
};

ambersel::FrequencyLevelList readWithScanf(const fs::path& path, bool& complete) {
    const ambersel::FileHandle file(std::fopen(path.c_str(), "r"));
    if (!file) {
        complete = false;
        return {};
    }
    ambersel::FrequencyLevelList list = ambersel::support::readWithScanFormat(file.get());
    complete = std::feof(file.get()) != 0 && std::ferror(file.get()) == 0;
    return list;
}

Measurement evaluate(const fs::path& path, bool withOurReader) {
    Measurement measurement;
    const auto start = std::chrono::steady_clock::now();
    ambersel::TestVerdict verdict;
    if (withOurReader) {
        const ambersel::ListFileReading reading = ambersel::readListFile(path);
        measurement.complete =
            reading.opened() && reading.stop.end == ambersel::ReadingEnd::EndOfFile;
        measurement.points = reading.points.size();
        verdict = ambersel::evaluateTestFigure(reading.points);
    } else {
        const ambersel::FrequencyLevelList list = readWithScanf(path, measurement.complete);
        measurement.points = list.size();
        verdict = ambersel::evaluateTestFigure(list);
    }
    measurement.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measurement.figureBits = std::bit_cast<std::uint32_t>(verdict.figure);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    measurement.peakKilobytes = usage.ru_maxrss;
    return measurement;
}

// Runs one evaluation in a child process, so that its peak memory is its own.
bool measureInChild(const fs::path& path, bool withOurReader, Measurement& measurement) {
    std::array<int, 2> pipe{};
    if (::pipe(pipe.data()) != 0) {
        return false;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        const Measurement result = evaluate(path, withOurReader);
        const bool sent = ::write(pipe[1], &result, sizeof result) == sizeof result;
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipe[1]);
    const bool received =
        child > 0 && ::read(pipe[0], &measurement, sizeof measurement) == sizeof measurement;
    ::close(pipe[0]);
    int status = 0;
    const bool exited = child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                        WEXITSTATUS(status) == 0;
    return received && exited;
}

double megabytes(long kilobytes) {
    return static_cast<double>(kilobytes) * 1024.0 / 1e6;
}

void print(const char* name, const Measurement& m) {
    std::printf("%-12s peak RSS %8.1f MB  %7.2f s  %llu points%s  F = %.9g (0x%08X)\n", name,
                megabytes(m.peakKilobytes), m.seconds, static_cast<unsigned long long>(m.points),
                m.complete ? "" : " (reading did not reach the end)",
                static_cast<double>(std::bit_cast<float>(m.figureBits)), m.figureBits);
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t points = argc > 1 ? std::stoull(argv[1]) : 100'000'000;
    const fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path();
    const double limitMegabytes = argc > 3 ? std::stod(argv[3]) : 1200.0;

    const ListFile list(folder /
                        ("ambersel-memory-benchmark-" + std::to_string(::getpid()) + ".ASC"));
    if (!ambersel::support::writeRealisticList(list.path(), points)) {
        std::perror("cannot write the list");
        return 2;
    }
    std::printf("list: %llu points, %.1f MB of text, %.1f MB as points\n",
                static_cast<unsigned long long>(points),
                static_cast<double>(fs::file_size(list.path())) / 1e6,
                static_cast<double>(points * sizeof(ambersel::FrequencyLevelPoint)) / 1e6);

    Measurement ours;
    Measurement baseline;
    if (!measureInChild(list.path(), true, ours) || !measureInChild(list.path(), false, baseline)) {
        std::fprintf(stderr, "an evaluation did not finish (out of memory?)\n");
        return 2;
    }
    print("this reader", ours);
    print("fscanf loop", baseline);

    const bool sameFigure =
        ours.figureBits == baseline.figureBits && ours.points == baseline.points;
    const bool withinLimit = megabytes(ours.peakKilobytes) <= limitMegabytes;
    std::printf("same F to the bit: %s\n", sameFigure ? "yes" : "NO");
    std::printf("peak within %.0f MB: %s\n", limitMegabytes, withinLimit ? "yes" : "NO");
    return sameFigure && withinLimit && ours.complete && baseline.complete ? 0 : 1;
}
