#pragma once

// Helpers shared by the fuzz targets: the input as a C stream, and a check that stops the run
// with a message, so that libFuzzer keeps the input that broke it.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "evaluation/list_file.h"

namespace ambersel::fuzz {

// Ends the run when `holds` is false; libFuzzer reports it as a crash and saves the input.
inline void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

// The input bytes as a read-only stream. Owns a copy, since the C library wants a writable
// buffer even for reading; the copy has one byte more than the stream, so that an empty input
// still has a buffer.
class MemoryStream {
  public:
    explicit MemoryStream(std::span<const std::uint8_t> bytes)
        : m_bytes(bytes.size() + 1), m_file(openCopy(bytes)) {
        require(m_file != nullptr, "fmemopen opens the input");
    }
    std::FILE* get() const { return m_file.get(); }

  private:
    std::FILE* openCopy(std::span<const std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), m_bytes.begin());
        return fmemopen(m_bytes.data(), bytes.size(), "r");
    }

    std::vector<std::uint8_t> m_bytes;
    FileHandle m_file;
};

}  // namespace ambersel::fuzz
