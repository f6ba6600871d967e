#!/usr/bin/env python3
"""ambersel-eval on production lots: the summary against Python's own statistics, the table read
back by the csv module, the same bytes on every number of jobs, and refused command lines that
leave nothing behind.

    lot_test.py AMBERSEL_EVAL SCRATCH_FOLDER
"""

import csv
import datetime
import hashlib
import math
import os
import random
import shutil
import statistics
import struct
import subprocess
import sys
import unittest

EVAL, SCRATCH = sys.argv[1], os.path.abspath(sys.argv[2])
# The report forms to check: both unless told otherwise.
REPORT_FORMS = (sys.argv[3] if len(sys.argv) > 3 else "html,pdf").split(",")
SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXAMPLE = os.path.join(SOURCE, "examples", "emission_150k_30M.ASC")
EXAMPLE_MARGIN = 40.71

with open(EXAMPLE, encoding="ascii") as example_file:
    SCAN = [tuple(float(x) for x in line.split(",")) for line in example_file if line.strip()][:40]


def run(arguments, stdin=b""):
    done = subprocess.run([EVAL] + arguments, input=stdin, capture_output=True, timeout=600)
    return done.returncode, done.stdout, done.stderr


def write_list(folder, name, content):
    """content: a margin in dB (the scan shifted to it), or the file's text, or None for no file."""
    path = os.path.join(folder, name)
    if isinstance(content, float):
        shift = EXAMPLE_MARGIN - content
        content = "".join("%.1f,%.2f\n" % (f, level + shift) for f, level in SCAN)
    if content == "<folder>":
        os.mkdir(path)
    elif content is not None:
        with open(path, "w", encoding="ascii", newline="") as out:
            out.write(content)
    return path


def margin_of(entry):
    if entry["verdict"] == "ERROR":
        return None
    figure = struct.unpack(">f", bytes.fromhex(entry["figure_bits"][2:]))[0]
    if not math.isfinite(figure) or figure <= 0:
        return None
    return 20 * math.log10(1 / figure)


def close(a, b):
    """The summary's numbers are written to six decimals."""
    return abs(a - b) <= 5.1e-7


RNG = random.Random(7)
DRIFT = [RNG.gauss(4 - 3 * i / 150, 1.2) for i in range(150)]

# Each lot: its lists in the order given, as write_list's content.
LOTS = {
    "a drifting lot with failures, paths with commas, quotes and line breaks": [
        ("unit %03d, \"batch\" 7\n.ASC" % i if i % 40 == 0 else
         "unit\r\n%03d.ASC" % i if i % 40 == 20 else "unit%03d.ASC" % i, m)
        for i, m in enumerate(DRIFT)
    ],
    "unreadable lists count as given but stay out of the yield": [
        ("a.ASC", 3.0), ("missing.ASC", None), ("folder.ASC", "<folder>"), ("b.ASC", -1.5),
        ("c.ASC", 7.25),
    ],
    "NaN and infinite F fail without a margin and lead the lowest lists": [
        ("good.ASC", 2.0), ("nan.ASC", "150000,nan\n"), ("low.ASC", -0.5), ("only.ASC", None),
        ("inf.ASC", "150000,inf\n"), ("empty.ASC", ""), ("header.ASC", "freq,level\n1,2\n"),
    ],
    "equal margins have no spread and no Cpk": [("same%d.ASC" % i, 5.0) for i in range(6)],
    "one margin gives its percentiles but no Cpk": [("one.ASC", 1.25), ("none.ASC", "")],
    "no readable list gives no yield and no margin": [("gone.ASC", None)],
    "more than ten low lists: the ten lowest, equal margins in the order given": [
        ("tie%02d.ASC" % i, -2.0 if i % 3 else 4.0 + i) for i in range(16)
    ],
}


class Summary(unittest.TestCase):
    def test_summary_and_table_agree_with_an_independent_computation(self):
        for name, lists in LOTS.items():
            with self.subTest(name):
                folder = os.path.join(SCRATCH, "summary")
                shutil.rmtree(folder, ignore_errors=True)
                os.makedirs(folder)
                paths = [write_list(folder, n, c) for n, c in lists]
                table = os.path.join(folder, "lot.csv")
                status, out, _ = run(["--json", "--summary", "--jobs", "2", "--table", table] +
                                     paths)
                document = __import__("json").loads(out)
                self.check_summary(document["files"], document["summary"])
                self.check_table(document["files"], table)
                status_text, text, _ = run(["--summary"] + paths)
                self.assertEqual(status, status_text)
                self.check_text(document["summary"], text.decode())

    def test_a_report_with_the_summary_opens_with_the_lot(self):
        folder = os.path.join(SCRATCH, "report")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        paths = [write_list(folder, n, c)
                 for n, c in LOTS["unreadable lists count as given but stay out of the yield"]]
        led_by_lot = {
            "--summary puts the lot's picture and yield before the first list": ["--summary"],
            "without --summary the report holds nothing of the lot": [],
        }
        for name, options in led_by_lot.items():
            with self.subTest(name):
                for form in REPORT_FORMS:
                    self.assertEqual(run(options + ["--report", os.path.join(folder, "r." + form)]
                                         + paths)[0], 2, form)
                with open(os.path.join(folder, "r.html"), encoding="utf-8") as html_file:
                    page = html_file.read()
                forms = {"html": (page[:page.index('<div class="list">')], page)}
                if "pdf" in REPORT_FORMS:
                    text = subprocess.run(["pdftotext", os.path.join(folder, "r.pdf"), "-"],
                                          capture_output=True, check=True).stdout.decode()
                    forms["pdf"] = (text.split("\f")[0], text)
                for form, (summary_page, whole) in forms.items():
                    for mark in ("2 unreadable", "readable)", "Margins of 3 lists"):
                        self.assertEqual(mark in summary_page, bool(options), form + mark)
                        self.assertEqual(mark in whole, bool(options), form + mark)
                self.assertEqual('id="lot-' in page, bool(options))

    def check_summary(self, files, summary):
        verdicts = [f["verdict"] for f in files]
        self.assertEqual(summary["lists"], len(files))
        self.assertEqual(summary["passed"], verdicts.count("PASS"))
        self.assertEqual(summary["failed"], verdicts.count("FAIL"))
        self.assertEqual(summary["unreadable"], verdicts.count("ERROR"))
        readable = verdicts.count("PASS") + verdicts.count("FAIL")
        if readable:
            self.assertTrue(close(summary["yield_percent"], 100 * verdicts.count("PASS") / readable))
        else:
            self.assertIsNone(summary["yield_percent"])
        margins = [m for m in map(margin_of, files) if m is not None]
        got = summary["margin"]
        self.assertEqual(got["count"], len(margins))
        if not margins:
            self.assertEqual([got[k] for k in ("min_db", "median_db", "cpk")], [None] * 3)
        else:
            p5 = (statistics.quantiles(margins, n=20, method="inclusive")[0]
                  if len(margins) > 1 else margins[0])
            for key, expected in (("min_db", min(margins)), ("max_db", max(margins)),
                                  ("p5_db", p5), ("median_db", statistics.median(margins)),
                                  ("mean_db", statistics.fmean(margins))):
                self.assertTrue(close(got[key], expected), (key, got[key], expected))
            spread = statistics.stdev(margins) if len(set(margins)) > 1 else None
            if spread is None:
                self.assertIsNone(got["cpk"])
            else:
                self.assertTrue(close(got["stdev_db"], spread))
                self.assertTrue(close(got["cpk"], statistics.fmean(margins) / (3 * spread)))
        ranked = []
        for position, entry in enumerate(files):
            margin = margin_of(entry)
            if entry["verdict"] == "FAIL" or (entry["verdict"] == "PASS" and margin is not None):
                ranked.append((-math.inf if margin is None else margin, position, entry))
        ranked.sort(key=lambda r: (r[0], r[1]))
        self.assertEqual([(l["path"], l["line"]) for l in summary["lowest"]],
                         [(e["path"], e["line"]) for _, _, e in ranked[:10]])

    def check_table(self, files, table):
        with open(table, encoding="utf-8", newline="") as table_file:
            rows = list(csv.DictReader(table_file))
        self.assertEqual(len(rows), len(files))
        for row, entry in zip(rows, files):
            self.assertEqual(row["path"], entry["path"])
            self.assertEqual(row["verdict"], entry["verdict"])
            self.assertEqual(row["line"], entry["line"] or "")
            self.assertEqual(row["figure"], entry["figure_text"] or "")
            self.assertEqual(row["figure_bits"], entry["figure_bits"] or "")
            margin = entry["margin_db"]
            self.assertEqual(row["margin_db"], "" if margin is None else "%.2f" % margin)
            self.assertEqual(int(row["point_count"]), entry["point_count"])
            self.assertEqual(row["stop"], entry["stop"]["reason"] if entry["stop"] else "")
            self.assertEqual(row["error"], entry["error"] or "")
            facts = entry["verdict"] != "ERROR"
            with open(entry["path"], "rb") if facts else open(os.devnull, "rb") as listed:
                digest = hashlib.sha256(listed.read()).hexdigest() if facts else ""
            stat = os.stat(entry["path"]) if facts else None
            self.assertEqual(row["sha256"], digest)
            self.assertEqual(row["size_bytes"], str(stat.st_size) if facts else "")
            self.assertEqual(row["modified"], datetime.datetime.fromtimestamp(
                int(stat.st_mtime), datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ")
                if facts else "")

    def check_text(self, summary, text):
        block = text[text.index("summary: "):]
        self.assertIn("%d passed, %d failed, %d unreadable" % (
            summary["passed"], summary["failed"], summary["unreadable"]), block)
        cpk = summary["margin"]["cpk"]
        if summary["margin"]["count"]:
            self.assertIn("  Cpk %.2f (" % cpk if cpk is not None else "  Cpk none (", block)
        else:
            self.assertIn("  margin none (", block)
        lines = block.splitlines()
        lowest = lines[lines.index("  lowest margins:") + 1:] if summary["lowest"] else []
        ranks = [line.split(".")[0].strip() for line in lowest]
        self.assertEqual(ranks, [str(r + 1) for r in range(len(summary["lowest"]))])


class Jobs(unittest.TestCase):
    def test_every_output_is_the_same_bytes_on_one_and_two_jobs(self):
        folder = os.path.join(SCRATCH, "jobs")
        shutil.rmtree(folder, ignore_errors=True)
        subprocess.run([os.path.join(SOURCE, "examples", "make-lot"), folder, "2000",
                        "--points", "30"], check=True)
        names = sorted(os.listdir(folder))
        write_list(folder, names[5], "150000,50\n150001,51\nEnd of scan\n")
        write_list(folder, names[9], "")
        listed = [os.path.join(folder, n) for n in names]
        listed[700:700] = [os.path.join(folder, "missing.ASC"), folder]
        with open(os.path.join(folder, "lists.txt"), "w", encoding="utf-8") as list_file:
            list_file.write("\n".join(listed) + "\n\n")
        stdin = b"150000,60\n160000,61\n"
        forms = {
            "lines, summary and the lot's picture over time": ["--summary", "--by-time"],
            "JSON with its summary, top and bands": ["--json", "--summary", "--top", "3",
                                                      "--bands", "decades"],
            "points table": ["--points"],
        }
        for name, form in forms.items():
            with self.subTest(name):
                results = []
                for jobs in ("1", "2"):
                    table = os.path.join(folder, "table%s.csv" % jobs)
                    picture = os.path.join(folder, "lot%s.svg" % jobs)
                    drawn = ["--plot", picture] if "--by-time" in form else []
                    status, out, err = run(form + drawn + [
                        "--jobs", jobs, "--table", table,
                        "--files-from", os.path.join(folder, "lists.txt"), "-", "-"], stdin)
                    with open(table, "rb") as table_file:
                        outputs = [status, out, err, table_file.read()]
                    if drawn:
                        with open(picture, "rb") as picture_file:
                            outputs.append(picture_file.read())
                    results.append(outputs)
                self.assertEqual(results[0][0], 2)
                self.assertGreater(len(results[0][1]), 2000 * 20)
                for part, one, two in zip(("status", "stdout", "stderr", "table", "picture"),
                                          *results):
                    self.assertTrue(one == two, part)


@unittest.skipIf(shutil.which("soffice") is None,
                 "LibreOffice (soffice) is not installed: apt-get install --no-install-recommends "
                 "libreoffice-calc-nogui runs this check")
class Spreadsheet(unittest.TestCase):
    maxDiff = None
    def test_the_table_survives_a_spreadsheet_round_trip(self):
        folder = os.path.join(SCRATCH, "spreadsheet")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        # A spreadsheet keeps a line break in a cell as LF alone, so CR LF in a name cannot come
        # back from it; the csv module keeps it (the summary's lot has one).
        names = ["plain.ASC", "comma, \"quote\"\nand line.ASC", "=1+2.ASC", "-3.ASC"]
        paths = [write_list(folder, n, 2.0 + i) for i, n in enumerate(names)]
        table = os.path.join(folder, "lot.csv")
        run(["--table", table] + paths)
        office = ["soffice", "-env:UserInstallation=file://" + os.path.join(folder, "profile"),
                  "--headless"]
        environment = dict(os.environ, TMPDIR=folder)
        subprocess.run(office + ["--infilter=CSV:44,34,76,1", "--convert-to", "ods", "--outdir",
                                 folder, table], env=environment, capture_output=True, check=True)
        subprocess.run(office + ["--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1",
                                 "--outdir", os.path.join(folder, "back"),
                                 os.path.join(folder, "lot.ods")],
                       env=environment, capture_output=True, check=True)
        columns = ("path", "verdict", "line", "modified", "sha256")
        tables = []
        for written in (table, os.path.join(folder, "back", "lot.csv")):
            with open(written, encoding="utf-8", newline="") as table_file:
                tables.append([[row[c] for c in columns] for row in csv.DictReader(table_file)])
        self.assertEqual(tables[1], tables[0])
        self.assertEqual([row[0] for row in tables[0]], paths)


class Refusals(unittest.TestCase):
    def test_a_refused_command_line_says_why_and_leaves_nothing(self):
        folder = os.path.join(SCRATCH, "refusals")
        good = os.path.join(folder, "good.ASC")
        table = os.path.join(folder, "t.csv")
        rows = {
            "an unreadable file list": (["--files-from", os.path.join(folder, "none.txt")],
                                        "cannot read the file list"),
            "a folder as file list": (["--files-from", folder], "cannot read the file list"),
            "a table in a missing folder": (["--table", os.path.join(folder, "no", "t.csv")],
                                            "cannot write the table"),
            "no jobs": (["--jobs", "0"], "--jobs: N must be a whole number"),
            "jobs as a word": (["--jobs", "two"], "--jobs: N must be a whole number"),
            "jobs as a fraction": (["--jobs", "1.5"], "--jobs: N must be a whole number"),
            "time axis without a summary": (["--by-time"], "--by-time"),
            "summary after a points table": (["--points", "--summary"], "--summary"),
            "no list at all": ([], "no FILE given"),
            "a list from the input that holds the file list": (["--files-from", "-", "-"],
                                                               "no list can be read from it too"),
        }
        for name, (arguments, message) in rows.items():
            with self.subTest(name):
                shutil.rmtree(folder, ignore_errors=True)
                os.makedirs(folder)
                write_list(folder, "good.ASC", 3.0)
                files = [] if name == "no list at all" else [good]
                if "--table" not in arguments:
                    arguments = arguments + ["--table", table]
                status, out, err = run(arguments + files)
                self.assertEqual(status, 2)
                self.assertIn(message, err.decode())
                self.assertEqual(out, b"")
                self.assertEqual(sorted(os.listdir(folder)), ["good.ASC"])

    def test_a_table_that_cannot_take_its_place_leaves_no_part_behind(self):
        folder = os.path.join(SCRATCH, "refusals")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(os.path.join(folder, "t.csv", "inside"))
        good = write_list(folder, "good.ASC", 3.0)
        status, out, err = run(["--table", os.path.join(folder, "t.csv"), good])
        self.assertEqual(status, 2)
        self.assertIn("cannot write the table", err.decode())
        self.assertTrue(out.startswith(b"PASS"))
        self.assertEqual(sorted(os.listdir(folder)), ["good.ASC", "t.csv"])


if __name__ == "__main__":
    try:
        unittest.main(argv=sys.argv[:1], verbosity=2)
    finally:
        shutil.rmtree(SCRATCH, ignore_errors=True)
