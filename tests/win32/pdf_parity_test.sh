#!/usr/bin/env bash
# The PDF writer on Windows under Wine against the Linux build's: the sample document of each list
# (tests/pdf_sample_writer.cpp: a chart, a page of tables with names outside ASCII, footers, the
# list and a JSON object attached) and its chart as SVG must be the same bytes, compressed streams
# included, on the bundled examples, a list that makes F not a number, an empty list and a long
# list whose attached copy takes several pieces.
#
#   pdf_parity_test.sh WINE_RUN WINDOWS_WRITER LINUX_WRITER EXAMPLES_DIR
#
# Exits with 77 (skipped) when there is no Linux build to compare with.
set -euo pipefail

wine_run=$1
windows_writer=$2
linux_writer=$3
examples=$4

if [ ! -x "$linux_writer" ]; then
    echo "no Linux build of pdf_sample_writer at $linux_writer: build the dev preset first"
    exit 77
fi

work=$(mktemp -d "$PWD/pdf-parity.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$examples"/*.ASC "$work/"
cd "$work"
printf '1000,60\nnan,40\n1000,inf\n2000,-inf\n' >not_a_number.ASC
: >empty.ASC
LC_ALL=C awk 'BEGIN { for (i = 0; i < 150000; i++) printf "%.1f,%.2f\r\n", 9000 * 1.00005^i, 40 + (i * 7919 % 2000) / 100 }' >long.ASC

failures=0
for list in *.ASC; do
    "$linux_writer" "linux-$list.pdf" "$list" 1718094600 "linux-$list.svg" >/dev/null
    "$wine_run" "$windows_writer" "windows-$list.pdf" "$list" 1718094600 "windows-$list.svg" \
        >/dev/null
    for kind in pdf svg; do
        if ! cmp -s "linux-$list.$kind" "windows-$list.$kind"; then
            echo "FAIL: $list: the $kind differs: $(cmp "linux-$list.$kind" "windows-$list.$kind" || true)"
            failures=$((failures + 1))
        fi
    done
done
echo "$(ls -- *.ASC | wc -l) lists compared, $failures differences"
[ "$failures" -eq 0 ]
