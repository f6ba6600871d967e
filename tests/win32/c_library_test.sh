#!/usr/bin/env bash
# ambersel.dll under Wine as a Windows program calls it: the README's C example, cross-built from
# the README's text, prints the line and the margin that ambersel-eval.exe --json gives, for the
# examples and hostile lists; and the DLL's self-test agrees on every case of the validation kit.
#
#   c_library_test.sh WINE_RUN C_EXAMPLE KIT_SELF_TEST AMBERSEL_EVAL SOURCE_DIR
set -euo pipefail
wine_run=$1
c_example=$2
kit_self_test=$3
ambersel_eval=$4
source_tree=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_tree"/examples/*.ASC "$work/"
cp -r "$source_tree/validation/kit" "$work/kit"
printf '0.5,40\n0.001,60\n1e-45,50\n' >"$work/hostile_subhertz.ASC"
printf '1000,60\ninf,40\n1000,inf\n' >"$work/hostile_infinite.ASC"
printf '1000,60\nnan,40\n' >"$work/hostile_nan.ASC"
printf '1000,120\r\nEnd of scan\r\n' >"$work/hostile_cut_short.ASC"
printf '' >"$work/hostile_empty.ASC"
cd "$work"

failures=0
"$wine_run" "$ambersel_eval" --json -- *.ASC missing.ASC >objects.json || true
for list in *.ASC missing.ASC; do
    status=0
    "$wine_run" "$c_example" "$list" >printed.txt 2>error.txt || status=$?
    expected=$(python3 - "$list" <<'PYTHON'
import json, sys
for item in json.load(open("objects.json")):
    if item["path"] == sys.argv[1]:
        if item["verdict"] == "ERROR":
            print("ERROR 2")
        else:
            margin = "none" if item["margin_db"] is None else "{:+.2f} dB".format(item["margin_db"])
            print(item["line"])
            print("margin " + margin)
            print("status", 0 if item["verdict"] == "PASS" else 1)
PYTHON
)
    if [ "$status" -eq 2 ]; then
        obtained="ERROR 2"
    else
        obtained="$(tr -d '\r' <printed.txt)"$'\n'"status $status"
    fi
    if [ "$obtained" != "$expected" ]; then
        echo "FAIL: $list: the C example gave"$'\n'"$obtained"$'\n'"where ambersel-eval.exe gives"$'\n'"$expected"
        failures=$((failures + 1))
    fi
done

if report=$("$wine_run" "$kit_self_test" kit); then
    tail -n 1 <<<"$report" | tr -d '\r'
else
    echo "FAIL: the DLL's self-test under Wine:"
    grep -v '^agrees' <<<"$report" | tr -d '\r'
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] && echo "the C example and ambersel-eval.exe agree on every list"
exit "$failures"
