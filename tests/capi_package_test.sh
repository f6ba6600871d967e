#!/usr/bin/env bash
# The C library as a developer meets it once installed: the header, the library under its soname,
# a program built against it through find_package(ambersel) and through pkg-config, the validation
# kit found from the library's own folder, and the two Debian packages that carry them.
#
#   capi_package_test.sh BUILD_DIR SOURCE_DIR KIT_SELF_TEST
set -euo pipefail
build=$1
source_tree=$2
kit_self_test=$3
scratch=$(mktemp -d "$build/capi-package-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

prefix=$scratch/usr
cmake --install "$build" --prefix "$prefix" >/dev/null
library=$(cd "$prefix" && find . -name 'libambersel.so.1' | sed 's|^\./||')
[ -n "$library" ] || fail "libambersel.so.1 is not installed"
libdir=$prefix/$(dirname "$library")
[ "$(readelf -d "$libdir/libambersel.so.1" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')" = \
    libambersel.so.1 ] || fail "the library's soname is not libambersel.so.1"
[ -L "$libdir/libambersel.so" ] || fail "no link name libambersel.so"
cmp -s "$source_tree/capi/ambersel.h" "$prefix/include/ambersel.h" || fail "ambersel.h not installed"
exported=$(nm -D --defined-only "$libdir/libambersel.so.1" | awk '$2 == "T" {print $3}' | sort -u)
if grep -qv '^ambersel_' <<<"$exported"; then
    fail "the library exports more than its C functions: $(grep -v '^ambersel_' <<<"$exported" | head -3)"
fi

# The README's example, built by a CMake project of the developer's own, and by pkg-config.
mkdir -p "$scratch/consumer"
cp "$build/tests/readme_example.c" "$scratch/consumer/example.c"
cat >"$scratch/consumer/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.16)
project(consumer C)
find_package(ambersel 1.0 REQUIRED)
add_executable(example example.c)
target_link_libraries(example PRIVATE ambersel::ambersel)
CMAKE
expected=$'FAIL : F = 1.1201\nmargin -0.99 dB'
if cmake -S "$scratch/consumer" -B "$scratch/consumer/build" -DCMAKE_PREFIX_PATH="$prefix" \
    >"$scratch/cmake.log" 2>&1 && cmake --build "$scratch/consumer/build" >>"$scratch/cmake.log" 2>&1; then
    output=$("$scratch/consumer/build/example" "$source_tree/examples/switching_supply_fail.ASC" || true)
    [ "$output" = "$expected" ] || fail "the example built with find_package printed: $output"
else
    cat "$scratch/cmake.log"
    fail "find_package(ambersel) did not build the example"
fi
if flags=$(PKG_CONFIG_PATH=$libdir/pkgconfig pkg-config --cflags --libs ambersel); then
    # shellcheck disable=SC2086
    cc -o "$scratch/example" "$scratch/consumer/example.c" $flags || fail "cc with pkg-config"
    output=$(LD_LIBRARY_PATH=$libdir "$scratch/example" \
        "$source_tree/examples/switching_supply_fail.ASC" || true)
    [ "$output" = "$expected" ] || fail "the example built with pkg-config printed: $output"
else
    fail "pkg-config does not know ambersel"
fi

# The installed library finds the installed kit by itself, wherever the tree was installed.
report=$(LD_LIBRARY_PATH=$libdir "$kit_self_test") ||
    fail "the installed library's self-test: $(tail -n 2 <<<"$report")"
tail -n 1 <<<"$report"

(cd "$build" && cpack -G DEB -B "$scratch/package" >/dev/null 2>&1)
main=$(ls "$scratch"/package/ambersel-test-calculator_*.deb)
dev=$(ls "$scratch"/package/libambersel-dev_*.deb)
main_files=$(dpkg-deb -c "$main" | awk '{print $6}')
dev_files=$(dpkg-deb -c "$dev" | awk '{print $6}')
for file in ./usr/lib/libambersel.so.1 ./usr/share/ambersel-test-calculator/validation-kit/expected.tsv \
    ./usr/share/ambersel-test-calculator/schemas/ambersel-eval.v1.schema.json \
    ./usr/share/ambersel-test-calculator/schemas/junit.xsd; do
    grep -qx "$file" <<<"$main_files" || fail "the program's package lacks $file"
done
for file in ./usr/include/ambersel.h ./usr/lib/libambersel.so ./usr/lib/pkgconfig/ambersel.pc \
    ./usr/lib/cmake/ambersel/amberselConfig.cmake; do
    grep -qx "$file" <<<"$dev_files" || fail "libambersel-dev lacks $file"
    ! grep -qx "$file" <<<"$main_files" || fail "the program's package holds $file"
done
[ "$(dpkg-deb -f "$dev" Depends)" = "ambersel-test-calculator (= 1.0.0)" ] ||
    fail "libambersel-dev depends on: $(dpkg-deb -f "$dev" Depends)"
dpkg-deb -e "$main" "$scratch/control"
grep -q '^libambersel 1 ambersel-test-calculator' "$scratch/control/shlibs" ||
    fail "the program's package declares no shlibs for libambersel"

[ "$failures" -eq 0 ] && echo "installed library, its kit and its packages as a developer expects them"
exit "$failures"
