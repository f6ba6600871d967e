// The whole Calculate command on arbitrary bytes: the bytes become a file in memory, which is
// opened by its path, read, evaluated and turned into the result line. Checks that the line always
// has one of its two forms, that its verdict is the one F earns, that its number is what the C
// library's "%0.4f" prints, and that F is the sum the explaining report adds up.

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "evaluation/frequency_level_list.h"
#include "evaluation/test_figure.h"
#include "files/calculate_command.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/text_stream.h"

namespace {

using ambersel::fuzz::require;

// A file that lives in memory only, reachable by a path while it is open.
class MemoryFile {
  public:
    explicit MemoryFile(std::span<const std::uint8_t> bytes)
        : m_fd(memfd_create("list", MFD_CLOEXEC)) {
        require(m_fd >= 0, "memfd_create makes a file");
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t count = ::write(m_fd, bytes.data() + written, bytes.size() - written);
            require(count > 0, "the input is written to the file");
            written += static_cast<std::size_t>(count);
        }
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    ~MemoryFile() { ::close(m_fd); }

    std::filesystem::path path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

  private:
    int m_fd;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number of a result line: -?[0-9]+\.[0-9]{4}, or -?inf, or -?nan.
bool isFigureText(std::string_view text) {
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    if (text == "inf" || text == "nan") {
        return true;
    }
    const std::size_t point = text.find('.');
    if (point == 0 || point == std::string_view::npos || text.size() - point - 1 != 4) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != point && !isDigit(text[i])) {
            return false;
        }
    }
    return true;
}

bool sameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    std::setlocale(LC_ALL, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);

    ambersel::FrequencyLevelList points;
    {
        const ambersel::support::TextStream stream({reinterpret_cast<const char*>(data), size});
        const ambersel::ReadingStop stop = ambersel::scanFrequencyLevelList(stream.get(), points);
        require(stop.end != ambersel::ReadingEnd::ReadError, "a stream in memory reads");
    }
    const ambersel::TestVerdict verdict = ambersel::evaluateTestFigure(points);
    const std::string line = ambersel::formatVerdictUtf8(verdict);

    constexpr std::string_view kPass = "PASS : F = ";
    constexpr std::string_view kFail = "FAIL : F = ";
    const std::string_view text(line);
    const bool saysPass = text.starts_with(kPass);
    require(saysPass || text.starts_with(kFail), "the line begins with PASS or FAIL");
    const std::string_view figureText = text.substr(kPass.size());
    require(isFigureText(figureText), "the figure is written in one of its forms");

    const float figure = verdict.figure;
    const bool earnsPass = figure >= 0 && figure <= 1;
    require(saysPass == earnsPass, "PASS exactly when 0 <= F <= 1");
    require(verdict.failed == !earnsPass, "the verdict agrees with its line");

    std::array<char, 400> printed{};
    std::snprintf(printed.data(), printed.size(), "%.4f", static_cast<double>(figure));
    require(figureText == printed.data(), "the figure is printed as %.4f prints it");

    float runningFigure = 0;
    for (const ambersel::FrequencyLevelPoint& point : points) {
        runningFigure = ambersel::contributeToTestFigure(point, runningFigure).runningFigure;
    }
    require(sameBits(runningFigure, figure), "F is the sum of the reported contributions");

    const std::u16string wideLine = ambersel::formatVerdict(verdict);
    require(std::u16string(line.begin(), line.end()) == wideLine, "both lines say the same");

    const MemoryFile file(bytes);
    const ambersel::CalculationOutcome outcome = ambersel::calculateFromPath(file.path());
    require(!outcome.isOpenFailure(), "a file in memory opens by its path");
    require(outcome.resultLine() == wideLine, "the command shows the line of the bytes");
    return 0;
}
