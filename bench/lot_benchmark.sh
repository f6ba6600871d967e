#!/usr/bin/env bash
# ambersel-eval on a production lot: 10,000 lists of 600 points with --summary --table, on one job
# and on two, in turn, RUNS times each so that both meet the same machine load; prints the median
# and the least wall time and the median CPU time of each, their ratios, whether the outputs were
# the same bytes, and the load average the machine had; beside it, the same files read by cat on one
# process and on two, and 200 long lists on one job and on two, where the evaluation takes the time.
# Then 100,000 small lists given through --files-from, with the peak resident memory.
#
#   bench/lot_benchmark.sh [BUILD_FOLDER] [RUNS]     defaults: build/release, 9 runs
#
# With BEFORE, an older build folder, in the environment, its ambersel-eval takes its turns in the
# same loop, so that both builds meet the same machine load.
#
# BUILD_FOLDER holds cli/ambersel-eval (the release preset builds it: scripts/bench does). The
# generated lots go to BUILD_FOLDER/lot_benchmark and are removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
runs=${2:-9}
evaluator=$build/cli/ambersel-eval
before=${BEFORE:+$BEFORE/cli/ambersel-eval}
work=$build/lot_benchmark
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"

examples/make-lot "$work/lot" 10000 --points 600
echo "lot: 10000 lists of 600 points, $(du -sm "$work/lot" | cut -f1) MB"

source bench/timing.sh

# The lists by name, through --files-from as a lot this size is given; one untimed run first, so
# that both find the files in the page cache.
find "$work/lot" -name '*.ASC' | sort >"$work/lot.txt"
lot=(--summary --table "$work/table.csv" --files-from "$work/lot.txt")
"$evaluator" "${lot[@]}" --jobs 2 >/dev/null 2>&1 || true

: >"$work/one"
: >"$work/two"
: >"$work/before1"
: >"$work/before2"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for ((run = 0; run < runs; ++run)); do
    times_of "$evaluator" "${lot[@]}" --jobs 1 >>"$work/one"
    cp "$work/out" "$work/out1"
    cp "$work/table.csv" "$work/table1.csv"
    times_of "$evaluator" "${lot[@]}" --jobs 2 >>"$work/two"
    if [ -n "$before" ]; then
        times_of "$before" "${lot[@]}" --jobs 1 >>"$work/before1"
        times_of "$before" "${lot[@]}" --jobs 2 >>"$work/before2"
    fi
done
# The older build's runs wrote over this build's outputs: this build writes them again for the
# comparison below.
if [ -n "$before" ]; then
    "$evaluator" "${lot[@]}" --jobs 2 >"$work/out" 2>&1 || true
fi
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
same=no
if cmp -s "$work/out" "$work/out1" && cmp -s "$work/table.csv" "$work/table1.csv"; then
    same=yes
fi

awk -v ow="$(median 1 <"$work/one")" -v oc="$(median 2 <"$work/one")" \
    -v tw="$(median 1 <"$work/two")" -v tc="$(median 2 <"$work/two")" \
    -v ob="$(least 1 <"$work/one")" -v tb="$(least 1 <"$work/two")" -v runs="$runs" 'BEGIN {
    printf "--jobs 1 : %.3f s wall, %.3f s CPU (medians of %d), best %.3f s\n", ow, oc, runs, ob
    printf "--jobs 2 : %.3f s wall, %.3f s CPU (medians of %d), best %.3f s\n", tw, tc, runs, tb
    printf "two jobs are %.2fx as fast in median wall time, %.2fx in the best runs", ow / tw, ob / tb
    printf " (target: within 2 s and at least 1.7x)\n"
}'
echo "same output and table bytes on both: $same"
if [ -n "$before" ]; then
    awk -v ow="$(median 1 <"$work/before1")" -v oc="$(median 2 <"$work/before1")" \
        -v tw="$(median 1 <"$work/before2")" -v tc="$(median 2 <"$work/before2")" 'BEGIN {
        printf "before, --jobs 1 : %.3f s wall, %.3f s CPU; --jobs 2 : %.3f s wall, %.3f s CPU", ow, oc, tw, tc
        printf " (%.2fx)\n", ow / tw
    }'
fi
echo "load average (1, 5, 15 min) before: $load_before, after: $load_after, on $(nproc) cores"
echo "CPU: $(lscpu | sed -n 's/^Model name: *//p')"

# What the machine's file system allows: the same files read by one cat process and by two. Where
# opening a file waits on the file system rather than on a core, two jobs cannot open them faster.
: >"$work/cat1"
: >"$work/cat2"
for ((run = 0; run < runs; ++run)); do
    times_of xargs -P 1 -n 500 cat <"$work/lot.txt" >>"$work/cat1"
    times_of xargs -P 2 -n 500 cat <"$work/lot.txt" >>"$work/cat2"
done
awk -v o="$(least 1 <"$work/cat1")" -v t="$(least 1 <"$work/cat2")" 'BEGIN {
    printf "the same files read by cat: %.3f s on one process, %.3f s on two (best runs): %.2fx\n",
        o, t, o / t
}'

# Few long lists, where the evaluation and not the opening of files takes the time.
rm -rf "$work/lot"
examples/make-lot "$work/long" 200 --points 100000
: >"$work/long1"
: >"$work/long2"
for ((run = 0; run < runs; ++run)); do
    times_of "$evaluator" --summary --jobs 1 "$work"/long/*.ASC >>"$work/long1"
    times_of "$evaluator" --summary --jobs 2 "$work"/long/*.ASC >>"$work/long2"
done
awk -v o="$(least 1 <"$work/long1")" -v t="$(least 1 <"$work/long2")" 'BEGIN {
    printf "200 lists of 100000 points, --summary: %.3f s on one job, %.3f s on two", o, t
    printf " (best runs): %.2fx\n", o / t
}'
rm -rf "$work/long"

# 100,000 small lists: memory must not grow with the number of lists.
examples/make-lot "$work/small" 100000 --points 5
find "$work/small" -name '*.ASC' | sort >"$work/small.txt"
/usr/bin/time -f '%M %e' -o "$work/peak" \
    "$evaluator" --summary --table "$work/small.csv" --files-from - <"$work/small.txt" \
    >"$work/out" 2>&1 || true
read -r peak_kb seconds <"$work/peak"
echo "100000 lists of 5 points through --files-from -, --summary --table:" \
    "peak resident memory $((peak_kb / 1024)) MB (target: under 100 MB), $seconds s"
