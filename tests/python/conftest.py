"""What the Python package's tests share: the programs under test, and the lists they all evaluate
(the bundled examples, a generated lot of 300 and hostile lists), made once per run."""

import json
import os
import pathlib
import subprocess
import sys

import pytest

SOURCE_TREE = pathlib.Path(os.environ["AMBERSEL_SOURCE_TREE"])
AMBERSEL_EVAL = os.environ["AMBERSEL_EVAL"]
C_EXAMPLE = os.environ["AMBERSEL_C_EXAMPLE"]
SCRATCH = pathlib.Path(os.environ["AMBERSEL_SCRATCH"])

# Frequencies and levels below one hertz, denormal, infinite and not a number; lists cut short.
HOSTILE = {
    "hostile_subhertz.ASC": b"0.5,40\n0.001,60\n1e-45,50\n1e-300,70\n",
    "hostile_denormal.ASC": b"4.9e-324,50\n2.2250738585072009e-308,30\n1000,4.9e-324\n",
    "hostile_infinite.ASC": b"1000,60\ninf,40\n1000,inf\n2000,-inf\n-inf,20\n",
    "hostile_nan.ASC": b"1000,60\nnan,40\n1000,nan\n-nan,-nan\n",
    "hostile_extremes.ASC": b"1e308,100\n1.7976931348623157e308,-1e308\n0x1p-1074,0x1p-1074\n",
    "hostile_negative_zero.ASC": b"-0,50\n",
    "hostile_cut_short.ASC": b"150000,60\r\n151000,61\r\nEnd of scan\r\n",
    "hostile_binary.ASC": bytes(range(256)) * 4,
    "hostile_utf16.ASC": "1000,100\r\n".encode("utf-16"),
    "hostile_empty.ASC": b"",
}


@pytest.fixture(scope="session")
def lists():
    """Every list the package, the C example and ambersel-eval must agree on."""
    folder = SCRATCH / "lists"
    if not folder.exists():
        folder.mkdir(parents=True)
        for example in sorted((SOURCE_TREE / "examples").glob("*.ASC")):
            (folder / example.name).write_bytes(example.read_bytes())
        for name, contents in HOSTILE.items():
            (folder / name).write_bytes(contents)
        subprocess.run([sys.executable, str(SOURCE_TREE / "examples" / "make-lot"),
                        str(folder / "lot"), "300"], check=True)
    paths = sorted(str(path) for path in folder.glob("*.ASC"))
    return paths + sorted(str(path) for path in (folder / "lot").glob("*.ASC"))


def cli_objects(paths, *options):
    """ambersel-eval --json's object of each list, in order."""
    run = subprocess.run([AMBERSEL_EVAL, "--json", *options, *paths],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False)
    assert run.returncode in (0, 1, 2), run.returncode
    return json.loads(run.stdout)
