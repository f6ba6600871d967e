// The straightforward program that ambersel-eval is measured against, as a whole process: opens the
// list, reads it with the C library's own "%f,%f\n" loop, computes F with the same figure code and
// prints the result line. Prints F's bits on standard error, so that a script can check that both
// programs agree to the bit.
//
//   fscanf_evaluator LIST

#include <bit>
#include <cstdint>
#include <cstdio>

#include "evaluation/file_handle.h"
#include "evaluation/test_figure.h"
#include "tests/support/scan_format_reference.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: fscanf_evaluator LIST\n", stderr);
        return 2;
    }
    const ambersel::FileHandle file(std::fopen(argv[1], "r"));
    if (!file) {
        std::perror(argv[1]);
        return 2;
    }
    const ambersel::TestVerdict verdict =
        ambersel::evaluateTestFigure(ambersel::support::readWithScanFormat(file.get()));
    std::printf("%s\n", ambersel::formatVerdictUtf8(verdict).c_str());
    std::fprintf(stderr, "0x%08X\n", std::bit_cast<std::uint32_t>(verdict.figure));
    return verdict.failed ? 1 : 0;
}
