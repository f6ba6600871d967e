#!/usr/bin/env bash
# The Python package as a lab installs it: its wheel built from the repository with no network,
# installed into a fresh virtual environment, the C library beside it; then its tests, in
# tests/python, run in that environment.
#
#   python_package_test.sh PYTHON SOURCE_DIR WORK_DIR LIBRARY AMBERSEL_EVAL C_EXAMPLE
set -euo pipefail
python=$1
source_dir=$2
work=$3
library=$4
ambersel_eval=$5
c_example=$6

rm -rf "$work"
mkdir -p "$work"
# setuptools builds where its sources are: a copy keeps the repository clean.
cp -r "$source_dir/python" "$work/source"
if ! (cd "$work/source" && "$python" -m build --wheel --no-isolation --outdir "$work/dist") \
    >"$work/build.log" 2>&1; then
    cat "$work/build.log"
    echo "FAIL: the wheel was not built"
    exit 1
fi
wheel=$(ls "$work"/dist/ambersel-*-py3-none-any.whl)
echo "built $(basename "$wheel")"

# pytest and jsonschema come from the system; the package from the wheel alone.
"$python" -m venv --system-site-packages "$work/venv"
"$work/venv/bin/python" -m pip install --no-index --no-deps --quiet "$wheel"
site=$("$work/venv/bin/python" -c 'import sysconfig; print(sysconfig.get_paths()["purelib"])')
cp "$library" "$site/ambersel/libambersel.so.1"

cd "$work"
AMBERSEL_EVAL=$ambersel_eval AMBERSEL_C_EXAMPLE=$c_example AMBERSEL_SOURCE_TREE=$source_dir \
AMBERSEL_SCRATCH=$work/scratch \
    "$work/venv/bin/python" -m pytest -q -p no:cacheprovider "$source_dir/tests/python"

# The README's one command, in an environment of its own: it builds and installs the package.
"$python" -m venv --system-site-packages "$work/readme-venv"
cp -r "$source_dir/python" "$work/readme-source"
(cd "$work" && "$work/readme-venv/bin/pip" install --quiet --no-build-isolation ./readme-source)
version=$(AMBERSEL_LIBRARY=$library "$work/readme-venv/bin/python" -c \
    'import ambersel; print(ambersel.library_version())')
[ "$version" = "$("$work/venv/bin/python" -c 'import ambersel; print(ambersel.__version__)')" ] || {
    echo "FAIL: the README's pip command installed a package that reports '$version'"
    exit 1
}
echo "the README's pip command installs the package"
