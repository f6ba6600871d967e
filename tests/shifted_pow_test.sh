#!/usr/bin/env bash
# The self-test passes with the system's maths library and fails with pow() a millionth off:
#   shifted_pow_test.sh KIT_SELF_TEST SHIFTED_POW_LIBRARY KIT_FOLDER
set -euo pipefail
runner=$1
shifted=$2
kit=$3

"$runner" "$kit" >/dev/null || { echo "FAIL: the self-test fails with the right pow()"; exit 1; }

status=0
report=$(LD_PRELOAD="$shifted" "$runner" "$kit") || status=$?
if [ "$status" -ne 1 ]; then
    echo "FAIL: with pow() shifted the self-test ended with status $status, not 1"
    echo "$report"
    exit 1
fi
# The shifted pow changes F of most lists (not of an empty or infinite one, nor where the shifts of
# the level and of the frequency's power law happen to cancel): the worked examples and a measured
# scan must be among the cases that say so.
for name in figure_one_point_passes figure_nine_equal_points_fail scan_emission_150k_30M; do
    grep -q "^DIFFERS  $name: F 0x" <<<"$report" || {
        echo "FAIL: $name does not differ with pow() shifted"
        echo "$report"
        exit 1
    }
done
tail -n 1 <<<"$report"
