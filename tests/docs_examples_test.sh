#!/usr/bin/env bash
# docs/'s pictures and reports against what docs/make-examples makes of the bundled examples with
# the built ambersel-eval; fails naming each file that is out of date:
#   docs_examples_test.sh AMBERSEL_EVAL SCRATCH
# PNG is compared pixel for pixel (its encoder's bytes are not ours), PDF by its text as pdftotext
# reads it (the PDF writer stamps the moment it wrote the file), everything else byte for byte.
set -euo pipefail
source_tree=$(cd "$(dirname "$0")/.." && pwd)
program=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch"
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch
"$source_tree/docs/make-examples" --into "$scratch/made" "$program" >/dev/null

same() {
    case $1 in
        *.png) [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ] ;;
        *.pdf) cmp -s <(pdftotext -layout "$1" -) <(pdftotext -layout "$2" -) ;;
        *) cmp -s "$1" "$2" ;;
    esac
}
stale=()
for made in "$scratch"/made/*; do
    kept=$source_tree/docs/${made##*/}
    if [ ! -f "$kept" ] || ! same "$made" "$kept"; then
        stale+=("docs/${made##*/}")
    fi
done
if [ "${#stale[@]}" -gt 0 ]; then
    echo "out of date: ${stale[*]}; docs/make-examples makes them again"
    exit 1
fi
echo "docs/ holds what ambersel-eval makes of the examples now"
