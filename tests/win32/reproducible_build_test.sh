#!/usr/bin/env bash
# The same commit built twice, in two folders, gives the same bytes: the two programs (no link time
# stamp, no build or source folder inside) and the ZIP, the installer and the MSI cpack makes of
# them (SOURCE_DATE_EPOCH from the commit, the same permissions, no file dates in the installer).
#
#   reproducible_build_test.sh BUILD_DIR
#
# BUILD_DIR is the windows preset's build; the second build, without tests, goes into a folder of
# another name and depth inside it, made afresh each time.
set -euo pipefail

build=$(cd "$1" && pwd)
source_tree=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
again=$build/reproducibility/another/build-folder
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$build/reproducibility"
trap 'rm -rf "$build/reproducibility"' EXIT
(cd "$source_tree" && cmake --preset windows -B "$again" -DAMBERSEL_BUILD_TESTS=OFF >/dev/null)
cmake --build "$again" >"$build/reproducibility/build.log" 2>&1 ||
    { tail -20 "$build/reproducibility/build.log"; fail "the second build"; }

same=0
for program in cli/ambersel-eval.exe win32/app/Ambersel_Test.exe; do
    cmp "$build/$program" "$again/$program" || fail "two builds give two $program"
    same=$((same + 1))
done
for folder in "$build" "$again"; do
    cpack --config "$folder/CPackConfig.cmake" -B "$folder/reproducibility-packages" \
        >"$build/reproducibility/cpack.log" 2>&1 || { cat "$build/reproducibility/cpack.log"; fail "cpack"; }
done
trap 'rm -rf "$build/reproducibility" "$build/reproducibility-packages"' EXIT
for package in "$build"/reproducibility-packages/*.{zip,exe,msi}; do
    cmp "$package" "$again/reproducibility-packages/${package##*/}" ||
        fail "two builds give two ${package##*/}"
    same=$((same + 1))
done
[ "$same" -eq 5 ] || fail "cpack made $((same - 2)) packages, not 3"
echo "two builds: the same programs, ZIP, installer and MSI, byte for byte"
