#pragma once

// Helpers shared by the tests: temporary files and folders that remove themselves, the bits of a
// float or of a list's points, and a list to draw.

#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "evaluation/frequency_level_list.h"

namespace ambersel::testing {

// 600 points from 150 kHz to 30 MHz, falling, with a peak every 97th: a list whose picture has
// labelled points, three bands and a colour scale.
inline FrequencyLevelList emissionScan() {
    FrequencyLevelList points;
    for (int i = 0; i < 600; ++i) {
        points.push_back({static_cast<float>(150e3 * std::pow(200.0, i / 599.0)),
                          static_cast<float>(i % 97 == 0 ? 100 : 90 - i / 20.0)});
    }
    return points;
}

inline std::uint32_t bitsOf(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

// The points as bits, so that a NaN or a negative zero compares as what it is.
inline std::vector<std::pair<std::uint32_t, std::uint32_t>> bitsOf(
    const FrequencyLevelList& points) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> result;
    for (const FrequencyLevelPoint& point : points) {
        result.emplace_back(bitsOf(point.frequency), bitsOf(point.level));
    }
    return result;
}

// The bytes of a file; empty when it cannot be read.
inline std::string contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::random_device seed;
        m_path = std::filesystem::temp_directory_path() /
                 ("ambersel-test-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directory(m_path);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }

    const std::filesystem::path& path() const { return m_path; }

    // Writes `content` byte for byte to a file `name` in this folder and returns its path.
    std::filesystem::path write(const std::filesystem::path& name, std::string_view content) const {
        const std::filesystem::path file = m_path / name;
        std::ofstream out(file, std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + file.string());
        }
        return file;
    }

  private:
    std::filesystem::path m_path;
};

}  // namespace ambersel::testing
