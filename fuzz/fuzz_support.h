#pragma once

// A check for the fuzz targets that stops the run with a message, so that libFuzzer keeps the
// input that broke it.

#include <cstdio>
#include <cstdlib>

namespace ambersel::fuzz {

// Ends the run when `holds` is false; libFuzzer reports it as a crash and saves the input.
inline void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

}  // namespace ambersel::fuzz
