// Writes a list as an instrument writes it, "150000.0,45.23" per line, for the benchmarks that run
// whole programs on it.
//
//   write_realistic_list FILE POINTS

#include <cstdio>
#include <string>

#include "tests/support/realistic_list.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: write_realistic_list FILE POINTS\n", stderr);
        return 2;
    }
    if (!ambersel::support::writeRealisticList(argv[1], std::stoull(argv[2]))) {
        std::perror(argv[1]);
        return 2;
    }
    return 0;
}
