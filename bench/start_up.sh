#!/usr/bin/env bash
# How fast ambersel-eval starts: the whole process on a one-point list, the build with Qt (which
# loads its painting plug-in only for PNG pictures and PDF reports) against the build without Qt.
# The two run in turn, a batch of each per round, so that both meet the same machine load; prints
# the median time of one run of each, their ratio, how many Qt libraries each loads at start, and
# the CPU.
#
#   bench/start_up.sh QT_BUILD NOQT_BUILD [ROUNDS] [RUNS]      defaults: 15 rounds of 20 runs
#
# Each build folder holds cli/ambersel-eval, as scripts/bench builds them (build/release and
# build/noqt).
set -euo pipefail

with_qt=$1/cli/ambersel-eval
without_qt=$2/cli/ambersel-eval
rounds=${3:-15}
runs=${4:-20}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
list=$work/one.ASC
printf '150000,40\n' >"$list"

# Milliseconds per run of the program $1 on the list, over a batch of $runs runs.
per_run() {
    local start end
    start=$(date +%s%N)
    for ((run = 0; run < runs; ++run)); do
        "$1" "$list" >/dev/null || true
    done
    end=$(date +%s%N)
    awk -v ns=$((end - start)) -v n="$runs" 'BEGIN { printf "%.3f\n", ns / n / 1e6 }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

if [ "$("$with_qt" "$list")" != "$("$without_qt" "$list")" ]; then
    echo "the two builds give different lines" >&2
    exit 1
fi
: >"$work/with"
: >"$work/without"
for ((round = 0; round < rounds; ++round)); do
    per_run "$with_qt" >>"$work/with"
    per_run "$without_qt" >>"$work/without"
done

with=$(median <"$work/with")
without=$(median <"$work/without")
echo "CPU              : $(lscpu | sed -n 's/^Model name: *//p')"
echo "one-point list   : $("$with_qt" "$list")"
printf 'with Qt          : %.2f ms per run, %d Qt libraries loaded at start\n' "$with" \
    "$(ldd "$with_qt" | grep -c 'libQt' || true)"
printf 'without Qt       : %.2f ms per run, %d Qt libraries loaded at start\n' "$without" \
    "$(ldd "$without_qt" | grep -c 'libQt' || true)"
awk -v w="$with" -v o="$without" -v rounds="$rounds" -v runs="$runs" 'BEGIN {
    printf "ratio            : %.2fx (medians of %d rounds of %d runs; target 1.5x at most)\n",
        w / o, rounds, runs
}'
