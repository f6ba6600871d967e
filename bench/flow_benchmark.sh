#!/usr/bin/env bash
# The three speed targets of the one analysis per list, each as whole processes taking turns
# (A B A B …), so that both meet the same machine load; prints the median wall and CPU time of each
# and the median of the ratios of each pair:
#   1. 200 lists of 50,000 points, each with its report (--report {name}.html): --jobs 2 against
#      --jobs 1 (wall time; the CPU time shows what the second thread costs);
#   2. one list of 2,000,000 points, the bare result line: ambersel-eval against the plain fscanf
#      program;
#   3. the report of one list of 1,000,000 points (--report x.html): this build against BEFORE.
#
#   bench/flow_benchmark.sh BUILD_FOLDER
#       from the environment: RUNS (11), BEFORE (an older build folder for 3; left out without),
#       PARTS (123: which of the three to run)
#
# BUILD_FOLDER holds cli/ambersel-eval and bench/{fscanf_evaluator,write_realistic_list}, as the
# release preset builds them (scripts/bench does).
set -euo pipefail

build=$(cd "$1" && pwd)
before=${BEFORE:+$(cd "$BEFORE" && pwd)}
runs=${RUNS:-11}
parts=${PARTS:-123}
eval=$build/cli/ambersel-eval

work=$(mktemp -d "$build/flow-benchmark.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
echo "CPU: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores; $runs pairs each"

# One run as "wall cpu" seconds.
timed() {
    /usr/bin/time -f '%e %U %S' -o time "$@" >/dev/null 2>&1 || true
    # The last line: a status other than 0 (a FAIL) comes first.
    tail -n 1 time | awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }'
}

# pair LABEL_A LABEL_B -- A... -- B...: RUNS pairs, then the medians and the median ratio B/A.
pair() {
    local label_a=$1 label_b=$2
    shift 3
    local a=() b=()
    while [ "$1" != -- ]; do a+=("$1"); shift; done
    shift
    b=("$@")
    "${a[@]}" >/dev/null 2>&1 || true
    "${b[@]}" >/dev/null 2>&1 || true
    : >pairs
    for ((run = 0; run < runs; ++run)); do
        echo "$(timed "${a[@]}") $(timed "${b[@]}")" >>pairs
    done
    awk -v la="$label_a" -v lb="$label_b" '
        { wa[NR] = $1; ca[NR] = $2; wb[NR] = $3; cb[NR] = $4; rw[NR] = $3 / $1; rc[NR] = $4 / $2 }
        function median(v, n,    i, j, t) {
            for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
            return v[int((n + 1) / 2)]
        }
        END {
            n = NR
            printf "  %-28s %7.3f s wall %7.3f s CPU\n", la, median(wa, n), median(ca, n)
            printf "  %-28s %7.3f s wall %7.3f s CPU\n", lb, median(wb, n), median(cb, n)
            printf "  %-28s %7.2fx wall %7.2fx CPU (median of the pairs)\n", "ratio", median(rw, n), median(rc, n)
        }' pairs
}

if [[ $parts == *1* ]]; then
echo "1. 200 lists of 50,000 points, --report {name}.html"
mkdir lot reports
"$build/bench/write_realistic_list" lot/unit.ASC 50000
for ((unit = 1; unit < 200; ++unit)); do
    cp lot/unit.ASC "lot/unit$unit.ASC"
done
pair "--jobs 2" "--jobs 1" -- "$eval" --jobs 2 --report 'reports/{name}.html' lot/*.ASC \
    -- "$eval" --jobs 1 --report 'reports/{name}.html' lot/*.ASC
fi

if [[ $parts == *2* ]]; then
echo "2. 2,000,000 points, the result line"
"$build/bench/write_realistic_list" long.ASC 2000000
pair "ambersel-eval" "fscanf program" -- "$eval" long.ASC -- "$build/bench/fscanf_evaluator" long.ASC
fi

if [[ $parts == *3* ]]; then
echo "3. 1,000,000 points, --report x.html"
"$build/bench/write_realistic_list" million.ASC 1000000
if [ -n "$before" ]; then
    pair "this build" "BEFORE" -- "$eval" --report x.html million.ASC \
        -- "$before/cli/ambersel-eval" --report x.html million.ASC
else
    echo "  (no BEFORE build to compare with)"
fi
fi
