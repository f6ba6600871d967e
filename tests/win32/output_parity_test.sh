#!/usr/bin/env bash
# ambersel-eval.exe under Wine against the Linux build's ambersel-eval: on the bundled examples, a
# few hundred generated lists and hostile ones, both must write the same bytes to standard output
# and end with the same status, in every output form, and the same SVG pictures and HTML reports.
#
#   output_parity_test.sh WINE_RUN WINDOWS_EVAL LINUX_EVAL EXAMPLES_DIR
#
# Exits with 77 (skipped) when there is no Linux build to compare with.
set -euo pipefail

wine_run=$1
windows_eval=$2
linux_eval=$3
examples=$4

if [ ! -x "$linux_eval" ]; then
    echo "no Linux build of ambersel-eval at $linux_eval: build the dev preset first"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$examples"/*.ASC "$work/"
cd "$work"

# Lists from a fixed sequence of pseudo-random numbers (the same on every machine): well-formed
# points in every number form, CR LF and LF line ends, blank lines, and the endings that stop a
# list early or make F infinite, not a number, negative or huge.
LC_ALL=C awk -v count=300 '
    function next_random() { state = (state * 16807) % 2147483647; return state / 2147483647 }
    function pick(n) { return int(next_random() * n) }
    function number(low, high,    value, form) {
        value = low + next_random() * (high - low)
        form = pick(6)
        if (form == 0) return sprintf("%.1f", value)
        if (form == 1) return sprintf("%.6g", value)
        if (form == 2) return sprintf("%.3E", value)
        if (form == 3) return sprintf("%d", value)
        if (form == 4) return sprintf("%.9f", value)
        return sprintf("%.17g", value)
    }
    BEGIN {
        state = 20240611
        endings[0] = ""; endings[1] = "End of scan\n"; endings[2] = "1000;100\n"
        endings[3] = "150000 ,60\n"; endings[4] = "0,50\n"; endings[5] = "-5,40\n"
        endings[6] = "1000,1e39\n"; endings[7] = "-0,50\n"; endings[8] = "1000,\n100\n"
        endings[9] = "1,2,3\n"; endings[10] = "inf,nan\n"; endings[11] = "0x1.8p3,1e-50\n"
        for (i = 0; i < count; i++) {
            name = sprintf("generated_%03d.ASC", i)
            line_end = pick(2) ? "\r\n" : "\n"
            points = pick(4) == 0 ? pick(3) : 1 + pick(400)
            for (p = 0; p < points; p++) {
                printf "%s,%s%s", number(9000, 30000000), number(-20, 125), line_end > name
                if (pick(20) == 0) printf "%s", line_end > name
            }
            printf "%s", endings[pick(12)] > name
            close(name)
        }
    }'

# Hostile lists: frequencies and levels below one hertz, denormal, infinite and not a number.
printf '0.5,40\n0.001,60\n1e-45,50\n1e-300,70\n' >hostile_subhertz.ASC
printf '4.9e-324,50\n2.2250738585072009e-308,30\n1000,4.9e-324\n1e-310,1e-310\n' >hostile_denormal.ASC
printf '1000,60\ninf,40\n1000,inf\n2000,-inf\n-inf,20\n' >hostile_infinite.ASC
printf '1000,60\nnan,40\n1000,nan\n-nan,-nan\n' >hostile_nan.ASC
printf '1e308,100\n1.7976931348623157e308,-1e308\n0x1p-1074,0x1p-1074\n' >hostile_extremes.ASC

mapfile -t lists < <(ls -- *.ASC)
lists+=(missing.ASC)

failures=0
compare() {
    local what=$1
    shift
    local linux_status=0 windows_status=0
    "$linux_eval" "$@" >linux.out 2>/dev/null || linux_status=$?
    "$wine_run" "$windows_eval" "$@" >windows.out 2>/dev/null || windows_status=$?
    if ! cmp -s linux.out windows.out; then
        echo "FAIL: $what: standard output differs"
        diff <(head -c 200000 linux.out) <(head -c 200000 windows.out) | head -20 || true
        failures=$((failures + 1))
    fi
    if [ "$linux_status" -ne "$windows_status" ]; then
        echo "FAIL: $what: exit status $linux_status on Linux, $windows_status on Windows"
        failures=$((failures + 1))
    fi
    echo "$what: $(wc -c <linux.out) bytes, status $linux_status"
}

compare "--json, ${#lists[@]} files" --json "${lists[@]}"
compare "--json --top 3 --points" --json --top 3 --points "${lists[@]}"
compare "result lines" "${lists[@]}"
compare "--points" --points "${lists[@]}"
compare "--top 5 on one file" --top 5 switching_supply_fail.ASC
for list in generated_007.ASC emission_150k_30M.ASC; do
    linux_status=0 windows_status=0
    "$linux_eval" --json - <"$list" >linux.out 2>/dev/null || linux_status=$?
    "$wine_run" "$windows_eval" --json - <"$list" >windows.out 2>/dev/null || windows_status=$?
    if ! cmp -s linux.out windows.out || [ "$linux_status" -ne "$windows_status" ]; then
        echo "FAIL: $list on standard input differs"
        failures=$((failures + 1))
    fi
done

# The files each writes: every byte alike, and alike present or absent.
compare_files() {
    local what=$1 pattern=$2
    shift 2
    local linux_status=0 windows_status=0
    rm -rf linux windows
    mkdir linux windows
    "$linux_eval" "${@//@OUT@/linux\/$pattern}" >/dev/null 2>&1 || linux_status=$?
    "$wine_run" "$windows_eval" "${@//@OUT@/windows\/$pattern}" >/dev/null 2>&1 ||
        windows_status=$?
    if ! diff -r linux windows >/dev/null; then
        echo "FAIL: $what: the files differ"
        diff -r linux windows | head -c 2000 || true
        failures=$((failures + 1))
    fi
    if [ "$linux_status" -ne "$windows_status" ]; then
        echo "FAIL: $what: exit status $linux_status on Linux, $windows_status on Windows"
        failures=$((failures + 1))
    fi
    echo "$what: $(ls linux | wc -l) files, $(cat linux/* 2>/dev/null | wc -c) bytes, status $linux_status"
}

# Reports give the time of evaluation: SOURCE_DATE_EPOCH fixes it.
export SOURCE_DATE_EPOCH=1765086355
hostile=(hostile_*.ASC)
compare "--json --bands on the hostile lists" --json --bands decades "${hostile[@]}"
compare "--json --bands with edges" --json --bands 150k,1M,10M,30M "${lists[@]}"
compare_files "--plot {name}.svg on every list" '{name}.svg' --plot @OUT@ "${lists[@]}"
compare_files "--plot of the examples over one another" overlay.svg --plot @OUT@ \
    emission_150k_30M.ASC switching_supply_fail.ASC
compare_files "--report {name}.html on every list" '{name}.html' --report @OUT@ "${lists[@]}"
compare_files "--report of the examples and the hostile lists" all.html --report @OUT@ \
    emission_150k_30M.ASC switching_supply_fail.ASC "${hostile[@]}"
# The lot's table and picture under names outside ASCII, which Windows must not take as bytes of
# its code page.
compare_files "--summary --table and the lot's picture named outside ASCII" 'Prüfung Ω' \
    --summary --table @OUT@.csv --plot @OUT@.svg "${lists[@]}"

# Where the command line must differ. Windows prints a path typed with backslashes as typed, where
# Linux, on which a backslash may be part of a name, takes slashes; the same path typed with
# slashes prints alike. Windows expands wildcards itself, in the order the shell gives here (the
# names hold no capitals). A file list in UTF-16 is read alike.
mkdir -p lot
cp emission_150k_30M.ASC switching_supply_fail.ASC hostile_nan.ASC lot/
compare_as() {
    local what=$1 windows_expected=$2
    shift 2
    local windows_status=0
    "$wine_run" "$windows_eval" "$@" >windows.out 2>/dev/null || windows_status=$?
    if ! cmp -s "$windows_expected" windows.out || [ "$windows_status" -ne "$linux_status" ]; then
        echo "FAIL: $what: not the Linux build's bytes and status"
        diff "$windows_expected" windows.out | head -20 || true
        failures=$((failures + 1))
    fi
    echo "$what: $(wc -c <windows.out) bytes, status $windows_status"
}
linux_status=0
"$linux_eval" --summary --top 2 lot/*.ASC missing.ASC >linux.out 2>/dev/null || linux_status=$?
tr / '\\' <linux.out >linux-backslashes.out
compare_as "paths typed with backslashes, as typed" linux-backslashes.out \
    --summary --top 2 'lot\emission_150k_30M.ASC' 'lot\hostile_nan.ASC' \
    'lot\switching_supply_fail.ASC' missing.ASC
compare_as "paths typed with slashes, alike" linux.out --summary --top 2 \
    lot/emission_150k_30M.ASC lot/hostile_nan.ASC lot/switching_supply_fail.ASC missing.ASC
compare_as "wildcards expanded by the program as by the shell" linux.out --summary --top 2 \
    'lot/*.ASC' missing.ASC
linux_status=0
"$linux_eval" --json "${lists[@]}" >linux.out 2>/dev/null || linux_status=$?
printf '%s\r\n' "${lists[@]}" | iconv -f UTF-8 -t UTF-16 >list16.txt
compare_as "--files-from in UTF-16" linux.out --json --files-from list16.txt

# PNG pictures are the platform's own (GDI+ on Windows): a PNG file 1200 pixels wide.
"$wine_run" "$windows_eval" --plot picture.png switching_supply_fail.ASC >/dev/null 2>&1 || true
if [ "$(head -c 20 picture.png 2>/dev/null | od -An -tx1 | tr -d ' \n')" != \
    89504e470d0a1a0a0000000d49484452000004b0 ]; then
    echo "FAIL: --plot picture.png wrote no PNG 1200 pixels wide"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] || exit 1
echo "the same bytes, files and statuses on Linux and Windows"
