#!/usr/bin/env bash
# ambersel-eval against the straightforward fscanf program, each as a whole process (start-up,
# reading, figure, output), on one generated list of realistic points. The two programs run in
# turn, RUNS times each, so that both meet the same machine load; prints the median wall and CPU
# time of each, their ratios, and whether both gave the same line and the same F to the bit.
#
#   bench/whole_process.sh BUILD_FOLDER [POINTS] [RUNS]     defaults: 2000000 points, 11 runs
#
# BUILD_FOLDER holds cli/ambersel-eval and bench/fscanf_evaluator and bench/write_realistic_list,
# as the release preset builds them (scripts/bench does).
set -euo pipefail

build=$1
points=${2:-2000000}
runs=${3:-11}
evaluator=$build/cli/ambersel-eval
baseline=$build/bench/fscanf_evaluator

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
list=$work/list.ASC
"$build/bench/write_realistic_list" "$list" "$points"
echo "list: $points points, $(($(stat -c %s "$list") / 1000000)) MB"

source "$(dirname "$0")/timing.sh"

# One untimed run each, so that both find the list in the page cache.
"$evaluator" "$list" >/dev/null || true
"$baseline" "$list" >/dev/null 2>&1 || true

: >"$work/ours"
: >"$work/theirs"
for ((run = 0; run < runs; ++run)); do
    times_of "$evaluator" "$list" >>"$work/ours"
    times_of "$baseline" "$list" >>"$work/theirs"
done

"$evaluator" --json "$list" >"$work/json" || true
our_line=$(sed -n 's/.*"line":"\([^"]*\)".*/\1/p' "$work/json")
our_bits=$(sed -n 's/.*"figure_bits":"\([^"]*\)".*/\1/p' "$work/json")
their_line=$("$baseline" "$list" 2>"$work/bits" || true)
their_bits=$(cat "$work/bits")

# CPU time beside wall time: on a machine shared with other work it shows what waiting hides.
awk -v ow="$(median 1 <"$work/ours")" -v oc="$(median 2 <"$work/ours")" \
    -v tw="$(median 1 <"$work/theirs")" -v tc="$(median 2 <"$work/theirs")" -v runs="$runs" 'BEGIN {
    printf "ambersel-eval    : %.3f s wall, %.3f s CPU (medians of %d)\n", ow, oc, runs
    printf "fscanf program   : %.3f s wall, %.3f s CPU (medians of %d)\n", tw, tc, runs
    printf "ratio            : %.2fx wall, %.2fx CPU\n", tw / ow, tc / oc
}'
if [ "$our_line" = "$their_line" ] && [ "$our_bits" = "$their_bits" ]; then
    echo "F                : $our_line ($our_bits), the same in both"
else
    echo "F                : DIFFERS: '$our_line' ($our_bits) against '$their_line' ($their_bits)"
    exit 1
fi
