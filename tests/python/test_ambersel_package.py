"""The Python package as installed from its wheel: the same objects as ambersel-eval --json, the
same values as the C example, errors as exceptions with the library's message, lots in order on
several threads, and every JSON form within its schema."""

import json
import os
import pathlib
import re
import struct
import subprocess
import sys

import jsonschema
import pytest

import ambersel
from conftest import C_EXAMPLE, SCRATCH, SOURCE_TREE, cli_objects

SCHEMA = json.loads((SOURCE_TREE / "schemas" / "ambersel-eval.v1.schema.json").read_text())
FAILING = str(SOURCE_TREE / "examples" / "switching_supply_fail.ASC")
PASSING = str(SOURCE_TREE / "examples" / "emission_150k_30M.ASC")


def bits_of(figure):
    return "0x{:08X}".format(struct.unpack(">I", struct.pack(">f", figure))[0])


def test_the_installed_package_is_the_wheel_with_the_library_beside_it():
    package = pathlib.Path(ambersel.__file__).parent
    assert "site-packages" in package.parts, package
    assert (package / "libambersel.so.1").exists()
    assert ambersel.library_version() == ambersel.__version__


@pytest.mark.parametrize("options, arguments", [
    ({}, []),
    ({"top": 3}, ["--top", "3"]),
    ({"bands": [150e3, 1e6, 10e6, 30e6]}, ["--bands", "150k,1M,10M,30M"]),
    ({"top": 1, "bands": [1e3, 1e9]}, ["--top", "1", "--bands", "1k,1G"]),
])
def test_every_list_gives_the_object_ambersel_eval_writes(lists, options, arguments):
    expected = cli_objects(lists, *arguments)
    obtained = ambersel.evaluate_many(lists, jobs=2, errors="keep", **options)
    assert len(obtained) == len(expected)
    for mine, theirs in zip(obtained, expected):
        assert mine == theirs, mine["path"]
        if mine["figure"] is not None:
            assert bits_of(mine["figure"]) == mine["figure_bits"], mine["path"]


def test_points_and_bytes_give_the_same_object_as_the_file(lists):
    for path in lists[:12]:
        expected = cli_objects([path], "--points", "--top", "2")[0]
        assert ambersel.evaluate(path, points=True, top=2, errors="keep") == expected
        from_bytes = ambersel.evaluate(pathlib.Path(path).read_bytes(), name=path, points=True,
                                       top=2, errors="keep")
        assert from_bytes == expected, path


def test_the_c_example_prints_the_objects_line_and_margin(lists):
    for expected in cli_objects(lists):
        run = subprocess.run([C_EXAMPLE, expected["path"]], stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, text=True, check=False)
        if expected["verdict"] == "ERROR":
            assert run.returncode == 2 and expected["error"] in run.stderr, expected["path"]
            continue
        margin = ("none" if expected["margin_db"] is None
                  else "{:+.2f} dB".format(expected["margin_db"]))
        assert run.stdout == "{}\nmargin {}\n".format(expected["line"], margin), expected["path"]
        assert run.returncode == (0 if expected["verdict"] == "PASS" else 1), expected["path"]


def test_a_lot_comes_back_in_the_order_given_whatever_the_jobs(lists):
    one = ambersel.evaluate_many(lists, jobs=1, errors="keep")
    assert [result["path"] for result in one] == lists
    assert ambersel.evaluate_many(reversed(lists), jobs=4, errors="keep") == one[::-1]


@pytest.mark.parametrize("call, error, message", [
    (lambda scratch: ambersel.evaluate(scratch / "missing.ASC"),
     ambersel.UnreadableListError, r"missing\.ASC: No such file or directory$"),
    (lambda scratch: ambersel.evaluate(scratch),
     ambersel.UnreadableListError, r": not a regular file$"),
    (lambda scratch: ambersel.evaluate(b"", strict=True),
     ambersel.IncompleteListError, r"^-: the list holds no points$"),
    (lambda scratch: ambersel.evaluate(b"1,2\nEnd\n", strict=True, name="unit7.ASC"),
     ambersel.IncompleteListError, r"^unit7\.ASC: reading stopped at line 2, before the end"),
    (lambda scratch: ambersel.evaluate(b"1000,100\n", bands=[1e6, 1e5]),
     ambersel.Error, r"band edges must be at least two finite positive frequencies"),
    (lambda scratch: ambersel.evaluate_many([PASSING, scratch / "missing.ASC"], jobs=2),
     ambersel.UnreadableListError, r"No such file or directory$"),
    (lambda scratch: ambersel.evaluate(PASSING, top=-1), ValueError, "top"),
    (lambda scratch: ambersel.evaluate(PASSING, errors="ignore"), ValueError, "errors"),
    (lambda scratch: ambersel.evaluate_many([PASSING], jobs=0), ValueError, "jobs"),
    (lambda scratch: ambersel.evaluate(PASSING, name="x"), TypeError, "name"),
    (lambda scratch: ambersel.self_test(scratch),
     ambersel.Error, r"cannot open the kit's manifest"),
])
def test_each_failure_is_an_exception_that_says_what_went_wrong(call, error, message):
    SCRATCH.mkdir(parents=True, exist_ok=True)
    with pytest.raises(error, match=message) as raised:
        call(SCRATCH)
    if isinstance(raised.value, ambersel.Error):
        assert raised.value.status != 0


def test_the_self_test_agrees_on_the_kit():
    result = ambersel.self_test(SOURCE_TREE / "validation" / "kit")
    assert result and result.differing == 0
    assert result.report.endswith("self-test: {} cases, all agree: PASS\n".format(result.cases))


def test_a_library_named_in_the_environment_is_the_one_loaded():
    script = "import ambersel; print(ambersel.library_version())"
    beside = str(pathlib.Path(ambersel.__file__).parent / "libambersel.so.1")
    for named, loads in ((beside, True), ("/nonexistent/libambersel.so.1", False)):
        run = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                             env=dict(os.environ, AMBERSEL_LIBRARY=named), check=False)
        assert (run.returncode == 0) == loads, run.stderr
        if not loads:
            assert "/nonexistent/libambersel.so.1" in run.stderr


def test_every_json_form_keeps_to_the_schema(lists):
    validator = jsonschema.Draft202012Validator(SCHEMA)
    forms = [[], ["--top", "5"], ["--bands", "150k,1M,30M"], ["--summary"],
             ["--summary", "--top", "2", "--bands", "1k,1M"]]
    sample = lists[:16] + [str(SCRATCH / "missing.ASC")]
    for form in forms:
        validator.validate(cli_objects(lists, *form))
        validator.validate(cli_objects(sample, "--points", *form))
    strict = [ambersel.evaluate(path, strict=True, errors="keep", top=3) for path in sample]
    validator.validate(strict)
    assert any(result["verdict"] == "ERROR" and result["stop"] for result in strict)


@pytest.mark.parametrize("broken, change", [
    ("an unknown verdict", lambda o: o.update(verdict="MAYBE")),
    ("bits in lower case", lambda o: o.update(figure_bits=o["figure_bits"].lower())),
    ("a field more", lambda o: o.update(colour="red")),
    ("a verdict without a line", lambda o: o.update(line=None)),
    ("an error with a figure", lambda o: o.update(verdict="ERROR", error="x")),
    ("a band without its place", lambda o: o["bands"][0].pop("place")),
])
def test_the_schema_refuses_what_a_reader_would_trip_over(broken, change):
    result = ambersel.evaluate(FAILING)
    change(result)
    with pytest.raises(jsonschema.ValidationError):
        jsonschema.validate([result], SCHEMA, cls=jsonschema.Draft202012Validator)


def readme_blocks(language):
    """The README's code blocks in `language`, in order."""
    readme = (SOURCE_TREE / "README.md").read_text(encoding="utf-8")
    return re.findall(r"\n```" + language + r"\n(.*?)\n```", readme, re.S)


def test_the_readmes_python_examples_work():
    printer, station = readme_blocks("python")
    folder = SCRATCH / "readme"
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "print_line.py").write_text(printer)
    (folder / "test_emission.py").write_text(station)
    for path in (PASSING, FAILING):
        run = subprocess.run([sys.executable, str(folder / "print_line.py"), path],
                             capture_output=True, text=True, check=True)
        assert run.stdout == cli_objects([path])[0]["line"] + "\n"
    for path, passes in ((PASSING, True), (FAILING, False), (str(folder / "none.ASC"), False)):
        run = subprocess.run([sys.executable, "-m", "pytest", "-q", "-p", "no:cacheprovider",
                              str(folder / "test_emission.py")],
                             env=dict(os.environ, SCAN_FILE=path), capture_output=True,
                             text=True, check=False)
        assert (run.returncode == 0) == passes, run.stdout
