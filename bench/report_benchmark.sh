#!/usr/bin/env bash
# The time and peak memory of a report and a picture of one long list, each as a whole process
# (start-up, reading, figure, chart, drawing, writing), against what an engineer may wait for:
# 2 s and 150 MB. Runs `--report FILE.html`, `--report FILE.pdf`, `--plot FILE.png`,
# `--plot FILE.svg`, and beside them the analysis alone (`--json --bands decades --top 10`) and
# the bare result line, RUNS times each, in turn, so that all meet the same machine load; prints
# the median wall and CPU time and the largest peak resident memory of each.
#
#   bench/report_benchmark.sh BUILD_FOLDER [WINDOWS_BUILD_FOLDER]
#       POINTS (1000000) and RUNS (5) from the environment
#
# BUILD_FOLDER holds cli/ambersel-eval and bench/write_realistic_list, as the release preset
# builds them (scripts/bench does). WINDOWS_BUILD_FOLDER, when given, holds the cross-built
# cli/ambersel-eval.exe, run under Wine with the project's helpers: its times include Wine's own
# start, its memory Wine's own share of the process. What a build cannot write is said, not timed.
set -euo pipefail

build=$(cd "$1" && pwd)
windows=${2:+$(cd "$2" && pwd)}
points=${POINTS:-1000000}
runs=${RUNS:-5}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
limit_seconds=2
limit_mb=150

# The list and the outputs in a scratch folder of the build folder, where Wine reaches them too.
work=$(mktemp -d "$build/report-benchmark.XXXXXX")
session=""
finish() {
    if [ -n "$session" ]; then
        "$here/cmake/wine-session" stop "$session" >/dev/null 2>&1 || true
    fi
    cd "$here"
    rm -rf "$work"
}
trap finish EXIT

cd "$work"
"$build/bench/write_realistic_list" list.ASC "$points"
echo "list: $points points, $(($(stat -c %s list.ASC) / 1000000)) MB; $runs runs each, medians"
echo "CPU: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1)"

# The median of column $1 of standard input.
median() {
    awk -v c="$1" '{ print $c }' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# measure LABEL OUTPUT COMMAND...: runs COMMAND (whose output file is OUTPUT) RUNS times after one
# untimed run, then prints its medians and peak memory against the limits.
measure() {
    local label=$1 output=$2
    shift 2
    : >times
    rm -f "$output"
    if ! "$@" >out 2>err && [ ! -s "$output" ]; then
        printf '%-24s: not written: %s\n' "$label" "$(head -c 100 err | tr '\n' ' ')"
        return
    fi
    for ((run = 0; run < runs; ++run)); do
        rm -f "$output"
        /usr/bin/time -f '%e %U %S %M' -o time "$@" >out 2>err || true
        # The last line: a status other than 0 (FAIL) comes first.
        tail -n 1 time | awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' >>times
    done
    local wall cpu peak
    wall=$(median 1 <times)
    cpu=$(median 2 <times)
    peak=$(awk '$3 > m { m = $3 } END { printf "%.0f", m / 1024 }' times)
    awk -v l="$label" -v w="$wall" -v c="$cpu" -v p="$peak" -v ls="$limit_seconds" \
        -v lm="$limit_mb" -v bytes="$(stat -c %s "$output")" 'BEGIN {
        verdict = (w <= ls && p <= lm) ? "within" : "OVER"
        printf "%-24s: %5.2f s wall, %5.2f s CPU, %4d MB peak, %6d kB written: %s %d s, %d MB\n",
               l, w, c, p, bytes / 1000, verdict, ls, lm
    }'
}

# Every output in turn, RUNS times each, for one program (its command line before the options).
measure_all() {
    local name=$1
    shift
    # Names relative to the work folder: the Windows build would take a leading / for an option.
    measure "$name --report .html" x.html "$@" --report x.html list.ASC
    measure "$name --report .pdf" x.pdf "$@" --report x.pdf list.ASC
    measure "$name --plot .png" x.png "$@" --plot x.png list.ASC
    measure "$name --plot .svg" x.svg "$@" --plot x.svg list.ASC
    measure "$name --json, bands, top" out "$@" --json --bands decades --top 10 list.ASC
    measure "$name (line only)" out "$@" list.ASC
}

measure_all "Linux" "$build/cli/ambersel-eval"

if [ -n "$windows" ]; then
    # One Wine session for every run, so that Wine's services start once, not in every run. Its
    # server's socket folder goes to the work folder, and with it away.
    export WINEDLLOVERRIDES=winemenubuilder.exe=d TMPDIR=$work/tmp
    mkdir -p "$TMPDIR"
    session=$windows/wine
    "$here/cmake/wine-session" start "$session" >/dev/null
    measure_all "Wine" "$here/cmake/wine-run" "$windows/cli/ambersel-eval.exe"
fi
