#pragma once

// A list as an instrument writes it, for timing the reader on what it meets in use.

#include <cstdint>
#include <filesystem>

namespace ambersel::support {

// Writes `points` lines "150000.0,45.23" to `path`: frequencies spread evenly on a logarithmic
// scale from 9 kHz to 1 GHz with one decimal, levels around 40 dBµV with two. The same list on
// every call. False when the file cannot be written.
[[nodiscard]] bool writeRealisticList(const std::filesystem::path& path, std::uint64_t points);

}  // namespace ambersel::support
