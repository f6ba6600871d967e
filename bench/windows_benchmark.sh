#!/usr/bin/env bash
# The Windows build under Wine against the Linux build on the same machine, each as a whole
# process, in turn, RUNS rounds so that both meet the same machine load: a 1,000,000-point list
# (the result line, and the HTML report), and a lot of 10,000 lists of 600 points with --summary
# --table. Wine's start-up (the Windows build on an empty list) is subtracted, and the Linux
# build's own start too. Prints the median CPU time (user and system; the CPU time of the Wine
# session's server and services, which do the Windows program's file calls, counted as the
# Windows build's and shown apart), the median wall time, and
# the median of the rounds' ratios of CPU times, Windows to Linux (each round's runs a pair).
#
#   bench/windows_benchmark.sh [BUILD_FOLDER] [WINDOWS_BUILD_FOLDER]
#       defaults build/release and build/windows; from the environment: RUNS (5), POINTS
#       (1000000), LISTS (10000), and BEFORE, an older Windows build folder whose
#       ambersel-eval.exe takes its turns in the same loop
#
# BUILD_FOLDER holds cli/ambersel-eval and bench/write_realistic_list (preset release);
# WINDOWS_BUILD_FOLDER the cross-built cli/ambersel-eval.exe (preset windows).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

build=$(cd "${1:-build/release}" && pwd)
windows=$(cd "${2:-build/windows}" && pwd)
runs=${RUNS:-5}
points=${POINTS:-1000000}
lists=${LISTS:-10000}
before=${BEFORE:+$(cd "$BEFORE" && pwd)}

work=$(mktemp -d "$build/windows-benchmark.XXXXXX")
session=$windows/wine
finish() {
    "$here/cmake/wine-session" stop "$session" >/dev/null 2>&1 || true
    cd "$here"
    rm -rf "$work"
}
trap finish EXIT
# One Wine session for every run: Wine's services start once. Its server's socket folder goes to
# the work folder, and with it away.
export WINEDLLOVERRIDES=winemenubuilder.exe=d TMPDIR=$work/tmp AMBERSEL_WINE_SESSION=$session
mkdir -p "$TMPDIR"
sides=(linux windows)
if [ -n "$before" ]; then
    mkdir -p "$work/before"
    cp "$before/cli/ambersel-eval.exe" "$work/before/"
    sides+=(before)
fi
"$here/cmake/wine-session" start "$session" >/dev/null

cd "$work"
"$build/bench/write_realistic_list" list.ASC "$points"
: >empty.ASC
"$here/examples/make-lot" lot "$lists" --points 600
(cd lot && ls) | sort >names.txt
sed 's|^|lot/|' names.txt >lot.txt
sed 's|^|lot\\|' names.txt >lot-windows.txt
echo "CPU: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores;" \
    "medians of $runs rounds; CPU seconds (wall seconds)"

# The CPU seconds the session's own Wine processes have used so far: its server, which serves every
# file call of a Windows program, and its services, among them the mount manager, which answers
# each question about a volume. None is a child of the program; the program is not running when
# this is asked.
ticks=$(getconf CLK_TCK)
wine_seconds() {
    local pid sum=0
    # Other users' processes cannot be read, and processes end while this looks.
    for pid in /proc/[0-9]*; do
        { tr '\0' '\n' <"$pid/environ"; } 2>/dev/null |
            grep -qx "WINEPREFIX=$session/prefix" || continue
        sum=$((sum + $(awk '{ print $14 + $15 }' "$pid/stat" 2>/dev/null || echo 0)))
    done
    awk -v s="$sum" -v t="$ticks" 'BEGIN { printf "%.3f\n", s / t }'
}

# run NAME SIDE ARGUMENTS...: one timed run, appended to NAME.SIDE as "wall cpu server".
run() {
    local name=$1 side=$2 wall user system before after
    shift 2
    local program=("$build/cli/ambersel-eval")
    [ "$side" = windows ] && program=("$here/cmake/wine-run" "$windows/cli/ambersel-eval.exe")
    [ "$side" = before ] && program=("$here/cmake/wine-run" "$work/before/ambersel-eval.exe")
    before=$(wine_seconds)
    read -r wall user system < <({ TIMEFORMAT='%R %U %S'; time "${program[@]}" "$@" \
        >"out.$side" 2>"err.$side"; } 2>&1 || true)
    after=$(wine_seconds)
    echo "$wall $user $system $before $after" |
        awk '{ printf "%.3f %.3f %.3f\n", $1, $2 + $3, $5 - $4 }' >>"$name.$side"
}

cases=(start line html lot)
for ((round = 0; round < runs; ++round)); do
    for side in "${sides[@]}"; do
        run start "$side" empty.ASC
        run line "$side" list.ASC
        run html "$side" --report x.html list.ASC
        if [ "$side" = linux ]; then
            run lot "$side" --summary --table table.csv --files-from lot.txt
        else
            run lot "$side" --summary --table table.csv --files-from lot-windows.txt
        fi
    done
done

median() {
    sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
# NAME.SIDE.cpu: per round, the wall time and the CPU time of the program, for the Windows build
# its process and the Wine processes' share together.
for side in "${sides[@]}"; do
    for name in "${cases[@]}"; do
        awk '{ print $1, $2 + $3 }' "$name.$side" >"$name.$side.cpu"
    done
done
# report LABEL NAME PER UNIT SIDE: each round's pair of runs, start-up subtracted on both sides
# and divided by PER, gives a ratio; prints the medians of both sides' CPU and wall times, of the
# Wine processes' CPU, and of the rounds' ratios.
report() {
    local label=$1 name=$2 per=$3 unit=$4 side=$5
    paste -d ' ' "$name.linux.cpu" start.linux.cpu "$name.$side.cpu" "start.$side.cpu" \
        "$name.$side" | awk -v per="$per" '{
        linux = ($2 - $4) / per; windows = ($6 - $8) / per
        print linux, $1, windows, $5, $11, windows / linux }' >"$name.$side.pairs"
    local column values=()
    for column in 1 2 3 4 5 6; do
        values+=("$(awk -v c="$column" '{ print $c }' "$name.$side.pairs" | median)")
    done
    printf '%-38s Linux %7.3f %s CPU (%.2f s wall), %s %7.3f %s CPU (%.2f s wall; Wine %.2f s): %.2fx\n' \
        "$label" "${values[0]}" "$unit" "${values[1]}" "$side" "${values[2]}" "$unit" \
        "${values[3]}" "${values[4]}" "${values[5]}"
}
for side in "${sides[@]:1}"; do
    printf 'start-up on an empty list, subtracted below: Linux %.3f s CPU, %s under Wine %.3f s CPU (%.2f s wall)\n' \
        "$(awk '{ print $2 }' start.linux.cpu | median)" "$side" \
        "$(awk '{ print $2 }' "start.$side.cpu" | median)" "$(awk '{ print $1 }' "start.$side.cpu" | median)"
done
per_list=$(awk -v n="$lists" 'BEGIN { print n / 1000 }')
for side in "${sides[@]:1}"; do
    report "$points points, the line" line 1 s "$side"
    report "$points points, --report .html" html 1 s "$side"
    report "$lists lists of 600 points, per list" lot "$per_list" ms "$side"
done
same=yes
for side in linux windows; do
    run line "$side" list.ASC
    cp "out.$side" "line.out.$side"
done
cmp -s line.out.linux line.out.windows || same=no
echo "the same line from both: $same"
