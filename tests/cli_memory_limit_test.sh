#!/usr/bin/env bash
# ambersel-eval under an address-space limit too small for its list: it must report the failure on
# standard error and exit with status 2, not crash, not print a verdict.
# Usage: cli_memory_limit_test.sh path/to/ambersel-eval
set -euo pipefail
evaluator=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '1000,100\n' > "$work/small.ASC"
# 8,000,000 points in 32 MB of text; the list alone needs 64 MB, and more while it grows.
yes '1,2' | head -n 8000000 > "$work/large.ASC" || true

# The smallest limit, in steps of 16 MiB, under which the program evaluates a one-point list: it
# has all it needs to start and to report, and little more.
limit=0
for ((kib = 16384; kib <= 4194304; kib += 16384)); do
    if (ulimit -v "$kib" && "$evaluator" "$work/small.ASC" >/dev/null 2>&1); then
        limit=$((kib + 16384))
        break
    fi
done
if [ "$limit" -eq 0 ]; then
    echo "FAIL: the evaluator did not run under any limit up to 4 GiB" >&2
    exit 1
fi
echo "address-space limit: $((limit / 1024)) MiB"

status=0
(ulimit -v "$limit" && exec "$evaluator" "$work/small.ASC") >"$work/small.out" 2>&1 || status=$?
if [ "$status" -ne 0 ] || ! grep -qx 'PASS : F = 0.1210' "$work/small.out"; then
    echo "FAIL: under the limit a one-point list must still give its line (status $status)" >&2
    cat "$work/small.out" >&2
    exit 1
fi

status=0
(ulimit -v "$limit" && exec "$evaluator" "$work/large.ASC") >"$work/out" 2>"$work/err" || status=$?
echo "status $status; standard error: $(cat "$work/err")"
if [ "$status" -ne 2 ]; then
    echo "FAIL: expected exit status 2 for a list too large for the memory, got $status" >&2
    exit 1
fi
if ! grep -qi 'memory' "$work/err"; then
    echo "FAIL: standard error does not say that memory ran out" >&2
    exit 1
fi
if grep -Eq 'PASS|FAIL' "$work/out"; then
    echo "FAIL: a verdict was printed for a list that was not read whole" >&2
    exit 1
fi
echo "ok"
