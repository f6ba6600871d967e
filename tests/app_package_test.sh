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
    ./usr/share/applications/$id.desktop $doc/user-guide.html $doc/copyright \
    $doc/examples/emission_150k_30M.ASC; do
    [[ "$contents" == *"$file"* ]] || fail "the package lacks $file"
done
# The guide is for the users; the README is for the developers and stays in the repository.
[[ "$contents" != *README* ]] || fail "the package ships the developers' README"
dpkg-deb -x "$deb" "$scratch/unpacked"
# Every example the README evaluates, as it is in the source tree.
source_tree=$(cd "$(dirname "$0")/.." && pwd)
for example in "$source_tree"/examples/*.ASC; do
    cmp -s "$example" "$scratch/unpacked/$doc/examples/${example##*/}" ||
        fail "the package's $doc/examples/${example##*/} differs from the example"
done
# The copyright file in Debian's format, covering every file the package holds with licence
# texts, and naming the Debian package of every library a program links.
/usr/bin/python3 - "$scratch/unpacked" "$doc/copyright" "$module" <<'CHECK' ||
import subprocess, sys, pathlib
from debian import copyright
root, name, module = pathlib.Path(sys.argv[1]), sys.argv[2], sys.argv[3]
text = (root / name).read_text(encoding="utf-8")
record = copyright.Copyright(text.splitlines(), strict=True)
texts = {p.license.synopsis for p in record.all_license_paragraphs() if p.license.text.strip()}
problems = []
for path in sorted(p for p in root.rglob("*") if p.is_file()):
    relative = str(path.relative_to(root))
    found = record.find_files_paragraph(relative)
    names = found.license.synopsis.split(" and ") if found else []
    if not found or any(n not in texts for n in names):
        problems.append(f"{relative}: no licence text ({found.license.synopsis if found else 'no paragraph'})")
for program in ("usr/bin/Ambersel_Test", "usr/bin/ambersel-eval", "usr/" + module):
    # The libraries it names itself, found where the dynamic linker finds them.
    dynamic = subprocess.run(["readelf", "-d", str(root / program)], capture_output=True,
                             text=True).stdout
    needed = {line.split("[")[1].rstrip("]") for line in dynamic.splitlines() if "(NEEDED)" in line}
    linked = subprocess.run(["ldd", str(root / program)], capture_output=True, text=True).stdout
    for line in linked.splitlines():
        if "=> /" not in line or line.split()[0] not in needed:
            continue
        library = line.split("=> ")[1].split(" (")[0]
        # dpkg knows a library of a merged /usr under /usr only.
        owners = [subprocess.run(["dpkg", "-S", name], capture_output=True, text=True)
                  for name in (library, "/usr" + library)]
        packages = [o.stdout.split(":")[0] for o in owners if o.returncode == 0]
        if not packages:
            problems.append(f"{program} links {library}, which no Debian package holds")
        elif packages[0] not in text:
            problems.append(f"{program} links {library} of {packages[0]}, which the notices do not name")
print(*problems, sep="\n")
sys.exit(1 if problems else 0)
CHECK
    fail "the package's copyright file does not cover what it ships and links"
for program in bin/Ambersel_Test bin/ambersel-eval "$module"; do
    if readelf -d "$scratch/unpacked/usr/$program" | grep -qE 'RPATH|RUNPATH'; then
        fail "$program carries a library search path, which may point into the build"
    fi
done

[ "$failures" -eq 0 ] && echo "installed tree and package as a desktop expects them"
exit "$failures"
