#!/usr/bin/env bash
# The Windows packages as a lab PC meets them: the ZIP holds the two programs, the C library with
# its header and import library, the validation kit, the schemas, the README and the examples, and
# no program or library needs a DLL that a bare Windows lacks; the installer installs silently for every
# user into Program Files with a Start-menu entry and an uninstaller, the installed ambersel-eval
# evaluates an installed example, and the silent uninstall leaves no file or registry key behind.
#
#   installer_test.sh BUILD_DIR WINE_SESSION
#
# Installs into a Wine prefix of its own, made for the test and removed after it; its windows go to
# the display of the open WINE_SESSION.
set -euo pipefail

build=$1
main_session=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_run=$here/../../cmake/wine-run
source "$here/../../cmake/wine-environment"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work=$(mktemp -d)
session=$work/wine
cleanup() {
    if [ -d "$session/prefix" ]; then
        ambersel_wine_environment "$session"
        "${AMBERSEL_WINE%/*}/wineserver" --kill 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/packages" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
package=$(grep -o 'ambersel-test-calculator-[0-9.]*-win64' "$work/cpack.log" | head -1)
[ -n "$package" ] || fail "no package name in the cpack output"

# The ZIP: exactly these files, and no program that loads a DLL beside it.
(cd "$work" && cmake -E tar xf "packages/$package.zip")
source_tree=$here/../..
expected=$({
    printf '%s\n' README.md bin/Ambersel_Test.exe bin/ambersel-eval.exe \
        examples/emission_150k_30M.ASC examples/switching_supply_fail.ASC \
        bin/ambersel.dll include/ambersel.h lib/ambersel.lib lib/ambersel.def \
        lib/cmake/ambersel/amberselConfig.cmake lib/cmake/ambersel/amberselConfigVersion.cmake \
        lib/cmake/ambersel/amberselTargets.cmake lib/cmake/ambersel/amberselTargets-release.cmake
    (cd "$source_tree/schemas" && find . -type f | sed 's|^\./|share/ambersel-test-calculator/schemas/|')
    (cd "$source_tree/validation/kit" && find . -type f |
        sed 's|^\./|share/ambersel-test-calculator/validation-kit/|')
} | sort)
actual=$(cd "$work/$package" && find . -type f | sed 's|^\./||' | sort)
[ "$actual" = "$expected" ] || fail "the ZIP holds: $actual"
for program in "$work/$package"/bin/*.exe "$work/$package"/bin/*.dll; do
    x86_64-w64-mingw32-objdump -p "$program" | awk '/DLL Name/ {print tolower($3)}' | while read -r dll; do
        case $dll in
            kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | msvcrt.dll) ;;
            # GDI+ and COM streams (every Windows since XP), CNG's hashing (since Vista).
            gdiplus.dll | ole32.dll | bcrypt.dll) ;;
            *) fail "$(basename "$program") loads $dll, which a bare Windows does not have" ;;
        esac
    done
done
x86_64-w64-mingw32-objdump -f "$work/packages/$package.exe" | grep -q 'x86-64' ||
    fail "the installer is not a 64-bit program"

# A fresh prefix of the test's own, on the open session's display.
mkdir -p "$session"
[ -f "$main_session/display" ] && cp "$main_session/display" "$session/display"
export AMBERSEL_WINE_SESSION=$session
ambersel_wine_environment "$session"
ambersel_wine_prefix "$session"
drive_c=$session/prefix/drive_c
installed="$drive_c/Program Files/Ambersel Test Calculator"
start_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ambersel Test Calculator"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ambersel Test Calculator'

# What the prefix holds, leaving out the temporary folders and Wine's own logs.
snapshot() {
    (cd "$drive_c" && find . -path './users/*/Temp' -prune -o -path './windows/temp' -prune \
        -o -path './windows/Logs' -prune -o -print | sort)
    grep -h '^\[' "$session/prefix/system.reg" "$session/prefix/user.reg" | sed 's/ [0-9]*$//' | sort
}
"${AMBERSEL_WINE%/*}/wineserver" --wait
before=$(snapshot)

"$wine_run" "$work/packages/$package.exe" /S || fail "the silent install ended with status $?"
[ -f "$installed/bin/Ambersel_Test.exe" ] || fail "Ambersel_Test.exe is not in Program Files"
[ -f "$start_menu/Ambersel Test Calculator.lnk" ] || fail "no Start-menu entry for all users"
"$wine_run" reg query "$uninstall_key" >/dev/null 2>&1 || fail "no uninstall entry"
line=$("$wine_run" "C:\\Program Files\\Ambersel Test Calculator\\bin\\ambersel-eval.exe" \
    'C:\Program Files\Ambersel Test Calculator\examples\emission_150k_30M.ASC')
[ "$line" = "PASS : F = 0.0092" ] || fail "the installed ambersel-eval printed '$line'"
# The installed DLL finds the installed validation kit by itself, and every case agrees: a
# program of the lab's own beside it, for the time of the check.
cp "$build/tests/kit_self_test.exe" "$installed/bin/"
self_test=$("$wine_run" "C:\\Program Files\\Ambersel Test Calculator\\bin\\kit_self_test.exe") ||
    fail "the installed DLL's self-test: $(tail -n 3 <<<"$self_test")"
rm "$installed/bin/kit_self_test.exe"

"$wine_run" "C:\\Program Files\\Ambersel Test Calculator\\Uninstall.exe" /S ||
    fail "the silent uninstall ended with status $?"
# The uninstaller runs on from a copy of itself: wait until it is done.
for _ in $(seq 150); do
    [ -e "$installed" ] || break
    sleep 0.2
done
[ ! -e "$installed" ] || fail "the program folder is still there: $(find "$installed")"
"${AMBERSEL_WINE%/*}/wineserver" --wait
# Wine itself may drop a key of its own meanwhile; what counts is what was added.
left=$(comm -13 <(echo "$before") <(snapshot))
[ -z "$left" ] || fail "the uninstall left behind: $left"
echo "installed, used and uninstalled without a trace"
