#include "tests/support/realistic_list.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "evaluation/file_handle.h"

namespace ambersel::support {

bool writeRealisticList(const std::filesystem::path& path, std::uint64_t points) {
    FileHandle file(std::fopen(path.string().c_str(), "wb"));
    if (!file) {
        return false;
    }
    // NOLINTNEXTLINE(cert-msc51-cpp): the same list on every run, so that runs compare.
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> exponent(std::log10(9e3), 9.0);
    std::normal_distribution<double> level(40.0, 12.0);
    // Formatted through a large buffer, so that a list of gigabytes takes seconds.
    std::vector<char> buffer(std::size_t{1} << 20);
    std::size_t used = 0;
    constexpr std::size_t kLongestLine = 64;
    for (std::uint64_t i = 0; i < points; ++i) {
        if (buffer.size() - used < kLongestLine) {
            if (std::fwrite(buffer.data(), 1, used, file.get()) != used) {
                return false;
            }
            used = 0;
        }
        char* out = buffer.data() + used;
        char* const end = buffer.data() + buffer.size();
        out = std::to_chars(out, end, std::pow(10.0, exponent(random)), std::chars_format::fixed, 1)
                  .ptr;
        *out++ = ',';
        out = std::to_chars(out, end, level(random), std::chars_format::fixed, 2).ptr;
        *out++ = '\n';
        used = static_cast<std::size_t>(out - buffer.data());
    }
    const bool written = std::fwrite(buffer.data(), 1, used, file.get()) == used;
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace ambersel::support
