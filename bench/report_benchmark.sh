#!/usr/bin/env bash
# The time and peak memory of a report and a picture of one long list, each as a whole process
# (start-up, reading, figure, chart, drawing, writing), against what an engineer may wait for:
# 2 s and 150 MB. Runs `--report FILE.html`, `--report FILE.pdf`, `--plot FILE.png`,
# `--plot FILE.svg`, and beside them the analysis alone (`--json --bands decades --top 10`) and
# the bare result line; prints the median wall and CPU time and the largest peak resident memory
# of each. Every program and output takes one turn per round, RUNS rounds, so that all meet the
# same machine load.
#
#   bench/report_benchmark.sh BUILD_FOLDER [WINDOWS_BUILD_FOLDER]
#       from the environment: POINTS (1000000), RUNS (5), and BEFORE, an older build folder
#       to compare with side by side
#
# BUILD_FOLDER holds cli/ambersel-eval and bench/write_realistic_list, as the release preset
# builds them (scripts/bench does). WINDOWS_BUILD_FOLDER, when given, holds the cross-built
# cli/ambersel-eval.exe, run under Wine with the project's helpers: its times include Wine's own
# start, its memory Wine's own share of the process. What a build cannot write is said, not timed.
set -euo pipefail

build=$(cd "$1" && pwd)
windows=${2:+$(cd "$2" && pwd)}
before=${BEFORE:+$(cd "$BEFORE" && pwd)}
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
echo "list: $points points, $(($(stat -c %s list.ASC) / 1000000)) MB; medians of $runs runs"
echo "CPU: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1)"

# The programs, each a name and a command line before the options.
names=(Linux)
commands=("$build/cli/ambersel-eval")
if [ -n "$before" ]; then
    names+=(before)
    commands+=("$before/cli/ambersel-eval")
fi
if [ -n "$windows" ]; then
    # One Wine session for every run, so that Wine's services start once, not in every run. Its
    # server's socket folder goes to the work folder, and with it away.
    export WINEDLLOVERRIDES=winemenubuilder.exe=d TMPDIR=$work/tmp
    mkdir -p "$TMPDIR"
    session=$windows/wine
    "$here/cmake/wine-session" start "$session" >/dev/null
    names+=(Wine)
    commands+=("$here/cmake/wine-run $windows/cli/ambersel-eval.exe")
fi

# The outputs: a label, the file written (out: standard output) and the options. Names relative
# to the work folder: the Windows build would take a leading / for an option.
labels=("--report .html" "--report .pdf" "--plot .png" "--plot .svg" "--json, bands, top"
        "(line only)")
files=(x.html x.pdf x.png x.svg out out)
options=("--report x.html" "--report x.pdf" "--plot x.png" "--plot x.svg"
         "--json --bands decades --top 10" "")

# run PROGRAM OUTPUT [TIMES]: one run of a program on one output, timed into TIMES when given.
# Fails when the output was not written.
run() {
    local program=${commands[$1]} file=${files[$2]}
    rm -f "$file"
    # shellcheck disable=SC2086 # the command and the options are words
    if [ -n "${3:-}" ]; then
        /usr/bin/time -f '%e %U %S %M' -o time $program ${options[$2]} list.ASC >out 2>err || true
        # The last line: a status other than 0 (a FAIL) comes first.
        tail -n 1 time | awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' >>"$3"
    else
        $program ${options[$2]} list.ASC >out 2>err || true
    fi
    [ -s "$file" ]
}

# One untimed run of each, which also finds out what each program writes.
declare -A written
for p in "${!names[@]}"; do
    for o in "${!labels[@]}"; do
        if run "$p" "$o"; then
            written[$p.$o]=yes
            : >"times.$p.$o"
        else
            written[$p.$o]=$(head -c 90 err | tr '\n' ' ')
        fi
    done
done
for ((round = 0; round < runs; ++round)); do
    for o in "${!labels[@]}"; do
        for p in "${!names[@]}"; do
            if [ "${written[$p.$o]}" = yes ]; then
                run "$p" "$o" "times.$p.$o" || true
            fi
        done
    done
done

# The median of column $1 of standard input.
median() {
    awk -v c="$1" '{ print $c }' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

for o in "${!labels[@]}"; do
    for p in "${!names[@]}"; do
        label="${names[$p]} ${labels[$o]}"
        if [ "${written[$p.$o]}" != yes ]; then
            printf '%-24s: not written: %s\n' "$label" "${written[$p.$o]}"
            continue
        fi
        times=times.$p.$o
        awk -v l="$label" -v w="$(median 1 <"$times")" -v c="$(median 2 <"$times")" \
            -v p="$(awk '$3 > m { m = $3 } END { printf "%.0f", m / 1024 }' "$times")" \
            -v ls="$limit_seconds" -v lm="$limit_mb" 'BEGIN {
            verdict = (w <= ls && p <= lm) ? "within" : "OVER"
            printf "%-24s: %5.2f s wall, %5.2f s CPU, %4d MB peak: %s %d s, %d MB\n",
                   l, w, c, p, verdict, ls, lm
        }'
    done
done
