#!/usr/bin/env bash
# A long list's chart written as PDF by the program's own writer, against the same chart as SVG:
# CPU time from the evaluated list to the written file, and peak memory, each form in a process of
# its own, RUNS rounds in which every form takes one turn (so that all meet the same machine load);
# prints each form's median and its ratio to the SVG's.
#
#   bench/pdf_chart_benchmark.sh BUILD_FOLDER [POINTS] [RUNS]
#       defaults: 1000000 points, 11 rounds
#
# BUILD_FOLDER holds bench/pdf_chart_benchmark and bench/write_realistic_list (the dev or release
# preset builds them).
set -euo pipefail

build=$(cd "$1" && pwd)
points=${2:-1000000}
runs=${3:-11}
work=$(mktemp -d "$build/pdf-chart-benchmark.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

"$build/bench/write_realistic_list" list.ASC "$points"
echo "list: $points points, $(($(stat -c %s list.ASC) / 1000000)) MB; medians of $runs rounds"
echo "CPU: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1)"
forms=(svg pdf pdf+list)
for ((round = 0; round < runs; ++round)); do
    for form in "${forms[@]}"; do
        "$build/bench/pdf_chart_benchmark" list.ASC "$form" "out.$form" >>"times.$form"
    done
done
median() {
    awk -v c="$1" '{ print $c }' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
svg_seconds=$(median 2 <times.svg)
svg_peak=$(median 3 <times.svg)
for form in "${forms[@]}"; do
    seconds=$(median 2 <"times.$form")
    peak=$(median 3 <"times.$form")
    awk -v f="$form" -v s="$seconds" -v p="$peak" -v ss="$svg_seconds" -v sp="$svg_peak" \
        -v b="$(stat -c %s "out.$form")" 'BEGIN {
        printf "%-9s %7.3f s CPU (%.2f x SVG), %4.0f MB peak (%.2f x SVG), %6.0f kB written\n",
               f, s, s / ss, p / 1024, p / sp, b / 1000
    }'
done
