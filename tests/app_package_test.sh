#!/usr/bin/env bash
# Installs the built program into a scratch folder and makes its .deb, and checks what a Linux
# desktop and dpkg will find there:  app_package_test.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d "$build/package-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
id=org.ambersel.TestCalculator
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$scratch/usr" >/dev/null
for file in bin/Ambersel_Test bin/ambersel-eval share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/icons/hicolor/32x32/apps/$id.png \
    share/icons/hicolor/scalable/apps/$id.svg; do
    [ -f "$scratch/usr/$file" ] || fail "$file is not installed"
done

# The painting plug-in where the installed ambersel-eval looks for it, found there: a PNG is drawn.
module=$(find "$scratch/usr" -name ambersel-painting.so -printf '%P\n' | head -1)
[ -n "$module" ] || fail "the painting plug-in is not installed"
printf '1000,100\n' >"$scratch/one.ASC"
"$scratch/usr/bin/ambersel-eval" --plot "$scratch/one.png" "$scratch/one.ASC" >/dev/null ||
    fail "the installed ambersel-eval does not find its painting plug-in"
[ "$(head -c 4 "$scratch/one.png" | tail -c 3)" = PNG ] ||
    fail "the installed ambersel-eval drew no PNG"
# Every other run starts without the toolkit: the program itself needs no Qt library.
if readelf -d "$scratch/usr/bin/ambersel-eval" | grep NEEDED | grep -q libQt; then
    fail "ambersel-eval loads Qt at every start"
fi

desktop=$scratch/usr/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ -x "$scratch/usr/bin/${exec_line%% *}" ] || fail "Exec=$exec_line names no installed program"
case "$exec_line" in *%*) fail "Exec=$exec_line passes a file argument the program ignores" ;; esac
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "Icon= names no installed icon"
[ "$(identify -format '%wx%h' "$scratch/usr/share/icons/hicolor/32x32/apps/$id.png")" = 32x32 ] ||
    fail "the 32x32 icon is not 32 x 32 pixels"

appstreamcli validate --no-net "$scratch/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "the AppStream metainfo does not validate"

(cd "$build" && cpack -G DEB -B "$scratch/package" >/dev/null)
deb=$(ls "$scratch"/package/ambersel-test-calculator_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 qt6-qpa-plugins fonts-dejavu-core libc6; do
    [[ "$depends" == *"$needed"* ]] || fail "the package does not depend on $needed: $depends"
done
contents=$(dpkg-deb -c "$deb")
doc=./usr/share/doc/ambersel-test-calculator
for file in ./usr/bin/Ambersel_Test ./usr/bin/ambersel-eval ./usr/$module \
    ./usr/share/applications/$id.desktop $doc/README.md $doc/examples/emission_150k_30M.ASC; do
    [[ "$contents" == *"$file"* ]] || fail "the package lacks $file"
done
dpkg-deb -x "$deb" "$scratch/unpacked"
# Every example the README evaluates, as it is in the source tree.
source_tree=$(cd "$(dirname "$0")/.." && pwd)
for example in "$source_tree"/examples/*.ASC; do
    cmp -s "$example" "$scratch/unpacked/$doc/examples/${example##*/}" ||
        fail "the package's $doc/examples/${example##*/} differs from the example"
done
cmp -s "$source_tree/README.md" "$scratch/unpacked/$doc/README.md" ||
    fail "the package's README differs from the source tree's"
for program in bin/Ambersel_Test bin/ambersel-eval "$module"; do
    if readelf -d "$scratch/unpacked/usr/$program" | grep -qE 'RPATH|RUNPATH'; then
        fail "$program carries a library search path, which may point into the build"
    fi
done

[ "$failures" -eq 0 ] && echo "installed tree and package as a desktop expects them"
exit "$failures"
