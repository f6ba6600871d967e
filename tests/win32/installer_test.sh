#!/usr/bin/env bash
# The Windows packages as a lab PC and its IT department meet them, in a Wine prefix of the test's
# own (made for it, removed after it; its windows go to the display of the open WINE_SESSION):
#
# - the ZIP holds exactly the programs, the C library with its header and import library, the
#   validation kit, the schemas, the user's guide, the licence, the notices and the examples, and no
#   program or library needs a DLL beside it;
# - the NSIS installer shows the MIT licence, installs silently into Program Files with Start-menu
#   entries for the dialog and the guide, puts ambersel-eval.exe on the machine's PATH (or not, with
#   /NOPATH), the installed DLL passes its self-test on the installed kit, and its silent uninstall
#   leaves nothing behind;
# - the MSI installs silently, upgrades an older build of itself (one made from the same files with
#   a lower version), refuses to replace a newer one by an older one, leaves PATH alone with
#   REMOVE=PathEntry, and its silent removal leaves nothing behind: no file, no registry key, no
#   PATH entry.
#
#   installer_test.sh BUILD_DIR WINE_SESSION
set -euo pipefail

build=$1
main_session=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_run=$here/../../cmake/wine-run
make_msi=$here/../../packaging/make_msi.py
source "$here/../../cmake/wine-environment"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work=$(mktemp -d "$build/installer-test.XXXXXX")
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
version=${package#ambersel-test-calculator-}
version=${version%-win64}
[ -n "$package" ] || fail "no package name in the cpack output"
for kind in zip exe msi; do
    [ -f "$work/packages/$package.$kind" ] || fail "cpack made no $package.$kind"
done

# The ZIP: exactly these files, and no program that loads a DLL beside it.
(cd "$work" && cmake -E tar xf "packages/$package.zip")
source_tree=$here/../..
expected=$({
    printf '%s\n' LICENSE.txt THIRD-PARTY-NOTICES.txt user-guide.html \
        bin/Ambersel_Test.exe bin/ambersel-eval.exe \
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
            # GDI+ and COM streams (every Windows since XP), CNG's hashing and the shell's known
            # folders (since Vista).
            gdiplus.dll | ole32.dll | bcrypt.dll | shell32.dll) ;;
            *) fail "$(basename "$program") loads $dll, which a bare Windows does not have" ;;
        esac
    done
done
grep -q '^Permission is hereby granted, free of charge' "$work/$package/LICENSE.txt" ||
    fail "LICENSE.txt is not the MIT licence"
# The guide opens from anywhere: every picture inside it.
grep -o '<img [^>]*src="[^"]*' "$work/$package/user-guide.html" | grep -v 'src="data:' &&
    fail "the guide refers to pictures outside itself"
x86_64-w64-mingw32-objdump -f "$work/packages/$package.exe" | grep -q 'x86-64' ||
    fail "the installer is not a 64-bit program"
grep -q "MUI_PAGE_LICENSE \"$build/packaging/LICENSE.txt\"" \
    "$work/packages/_CPack_Packages/win64/NSIS/project.nsi" ||
    fail "the installer's licence page does not show LICENSE.txt"

# A fresh prefix of the test's own, on the open session's display.
mkdir -p "$session"
[ -f "$main_session/display" ] && cp "$main_session/display" "$session/display"
export AMBERSEL_WINE_SESSION=$session
ambersel_wine_environment "$session"
ambersel_wine_prefix "$session"
wineserver=${AMBERSEL_WINE%/*}/wineserver
drive_c=$session/prefix/drive_c
folder='C:\Program Files\Ambersel Test Calculator'
installed="$drive_c/Program Files/Ambersel Test Calculator"
# The Start menu of every user. Wine's Windows Installer puts the entries of a per-machine package
# (ALLUSERS=1) into the installing user's instead, where Windows would not: both are accepted.
start_menus=("$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ambersel Test Calculator"
    "$drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Ambersel Test Calculator")
uninstall_keys='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
environment_key='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
mkdir -p "$drive_c/packages"
cp "$work/packages/$package".{exe,msi} "$drive_c/packages/"
# An older build: the same files, a lower version.
"$make_msi" "$work/$package" 0.9.0 "$drive_c/packages/older.msi" 2>/dev/null ||
    fail "make_msi.py could not make the older MSI"

# What the prefix holds, leaving out the temporary folders and Wine's own logs.
snapshot() {
    (cd "$drive_c" && find . -path './users/*/Temp' -prune -o -path './windows/temp' -prune \
        -o -path './windows/Logs' -prune \
        -o -path './packages' -prune -o -print | sort)
    grep -h '^\[' "$session/prefix/system.reg" "$session/prefix/user.reg" | sed 's/ [0-9]*$//' | sort
}
# The machine's PATH, entry by entry, without empty ones: Wine's Windows Installer leaves the
# separator of an entry it takes out behind, an empty entry that Windows skips (Wine's cmd, though,
# then finds no program by its name at all).
machine_path() {
    "$wine_run" reg query "$environment_key" /v PATH | tr -d '\r' |
        sed -n 's/^ *PATH *REG_[A-Z_]*SZ *//p' | tr ';' '\n' | grep -v '^$' | paste -sd ';'
}
# The installed programs: ambersel-eval.exe on an installed example, started by its name through
# PATH as a command prompt starts it, or with "by-path" by its path; the dialog, the guide and their
# Start-menu entries, in the Start menu of every user or, with "either-menu", in the user's.
uses_installed_programs() {
    local line program=ambersel-eval.exe
    [[ " $* " == *" by-path "* ]] && program=..\\bin\\ambersel-eval.exe
    line=$(cd "$installed/examples" && "$wine_run" cmd /c "$program" emission_150k_30M.ASC |
        tr -d '\r') || true
    [ "$line" = "PASS : F = 0.0092" ] || fail "$1: $program printed '$line'"
    [ -f "$installed/bin/Ambersel_Test.exe" ] || fail "$1: Ambersel_Test.exe is not installed"
    [ -f "$installed/user-guide.html" ] || fail "$1: the guide is not installed"
    local menu menus=("${start_menus[0]}")
    [[ " $* " == *" either-menu "* ]] && menus=("${start_menus[@]}")
    for menu in "${menus[@]}"; do
        [ -f "$menu/Ambersel Test Calculator.lnk" ] && [ -f "$menu/User's guide.lnk" ] && return
    done
    fail "$1: no Start-menu entries for the dialog and the guide"
}
# The versions Settings -> Apps lists for the product, each with its publisher.
listed_versions() {
    "$wine_run" reg query "$uninstall_keys" /s | tr -d '\r' | awk '
        function value() { $1 = $2 = ""; return substr($0, 3) }
        /^HKEY/ { name = version = publisher = "" }
        $1 == "DisplayName" { name = value() }
        $1 == "DisplayVersion" { version = $3 }
        $1 == "Publisher" { publisher = value() }
        name ~ /^Ambersel Test Calculator/ && version != "" && publisher != "" {
            print version " by " publisher; name = "" }' | sort
}
by=" by Ambersel Test Calculator developers"
count_entries() {
    tr ';' '\n' <<<"$1" | grep -ciFx -e "$folder\\bin" -e "$folder\\bin\\" || true
}
settled() {
    "$wineserver" --wait
    for _ in $(seq 150); do
        [ -e "$installed" ] || break
        sleep 0.2
    done
    [ ! -e "$installed" ] || fail "$1: the program folder is still there: $(find "$installed")"
    "$wineserver" --wait
}
"$wineserver" --wait
before=$(snapshot)
path_before=$(machine_path)

# NSIS, silently, on PATH by default; then with /NOPATH.
"$wine_run" "C:\\packages\\$package.exe" /S || fail "the silent install ended with status $?"
uses_installed_programs "NSIS"
[ "$(count_entries "$(machine_path)")" = 1 ] || fail "NSIS: PATH is $(machine_path)"
[ "$(listed_versions)" = "$version$by" ] || fail "NSIS: Apps lists $(listed_versions)"
# The installed DLL finds the installed validation kit by itself, and every case agrees: a
# program of the lab's own beside it, for the time of the check.
cp "$build/tests/kit_self_test.exe" "$installed/bin/"
self_test=$("$wine_run" "$folder\\bin\\kit_self_test.exe") ||
    fail "the installed DLL's self-test: $(tail -n 3 <<<"$self_test")"
rm "$installed/bin/kit_self_test.exe"
"$wine_run" "$folder\\Uninstall.exe" /S || fail "the silent uninstall ended with status $?"
# The uninstaller runs on from a copy of itself: wait until it is done.
settled "NSIS uninstall"
[ "$(machine_path)" = "$path_before" ] || fail "NSIS uninstall: PATH is $(machine_path)"
"$wine_run" "C:\\packages\\$package.exe" /S /NOPATH || fail "the /NOPATH install failed"
[ "$(machine_path)" = "$path_before" ] || fail "NSIS /NOPATH: PATH is $(machine_path)"
"$wine_run" "$folder\\Uninstall.exe" /S || fail "the second uninstall ended with status $?"
settled "NSIS uninstall after /NOPATH"

# The MSI: an older build, then this one over it, then the older one again (refused).
"$wine_run" msiexec /i 'C:\packages\older.msi' /qn || fail "the older MSI ended with status $?"
uses_installed_programs "older MSI" either-menu
[ "$(listed_versions)" = "0.9.0$by" ] || fail "older MSI: Apps lists $(listed_versions)"
"$wine_run" msiexec /i "C:\\packages\\$package.msi" /qn || fail "the upgrade ended with status $?"
uses_installed_programs "upgrade" either-menu by-path
[ "$(listed_versions)" = "$version$by" ] || fail "upgrade: Apps lists $(listed_versions)"
[ "$(count_entries "$(machine_path)")" = 1 ] || fail "upgrade: PATH is $(machine_path)"
if "$wine_run" msiexec /i 'C:\packages\older.msi' /qn; then
    fail "the older MSI installed over the newer one"
fi
[ "$(listed_versions)" = "$version$by" ] || fail "downgrade: Apps lists $(listed_versions)"
"$wine_run" msiexec /x "C:\\packages\\$package.msi" /qn || fail "the removal ended with status $?"
settled "MSI removal"
[ "$(machine_path)" = "$path_before" ] || fail "MSI removal: PATH is $(machine_path)"
"$wine_run" msiexec /i "C:\\packages\\$package.msi" /qn REMOVE=PathEntry ||
    fail "the install without PathEntry ended with status $?"
[ "$(machine_path)" = "$path_before" ] || fail "REMOVE=PathEntry: PATH is $(machine_path)"
"$wine_run" msiexec /x "C:\\packages\\$package.msi" /qn || fail "the second removal failed"
settled "MSI removal without PathEntry"

# Wine itself may drop a key of its own meanwhile; what counts is what was added. Windows' own
# places stay, empty: the Windows Installer's cache folder and the keys it registers every product
# under, which a Windows has from its first MSI on, and the console settings of cmd.
windows_own='^(\./windows/Installer|\[Console\]|\[Software\\\\Classes\\\\Installer\\\\(Features|Products|UpgradeCodes)\]|\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Installer\\\\(UpgradeCodes|UserData\\\\S-1-5-18\\\\(Components|Products))\])$'
left=$(comm -13 <(echo "$before") <(snapshot) | grep -Ev "$windows_own" || true)
[ -z "$left" ] || fail "installing and removing left behind: $left"
echo "ZIP checked; NSIS and MSI installed, used, upgraded and removed without a trace"
