#!/usr/bin/env python3
"""The PDF report of ambersel-eval as a reader and an auditor meet it: every page identified and
numbered "Page n of m", a table that runs over pages under its heads repeated, "End of report" once
at the end, each list and its JSON object attached with their exact bytes, the archive's metadata,
qpdf's check and two renderers without a warning.

    pdf_report_test.py AMBERSEL_EVAL SCRATCH_FOLDER
"""

import json
import os
import re
import shutil
import subprocess
import sys
import unittest

import pikepdf

EVAL, SCRATCH = sys.argv[1], os.path.abspath(sys.argv[2])
SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ENVIRONMENT = dict(os.environ, SOURCE_DATE_EPOCH="1765086355", TZ="UTC")
SUMMARY_HEADS = re.compile(r"List +Result +Margin +Points")


def run(command, folder):
    return subprocess.run(command, cwd=folder, capture_output=True, timeout=300, check=False,
                          env=ENVIRONMENT)


class Report:
    """A report of `lists` (name: bytes) written with --json beside it, and its text by page."""

    def __init__(self, name, lists):
        self.folder = os.path.join(SCRATCH, name)
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        self.lists = lists
        for list_name, content in lists.items():
            with open(os.path.join(self.folder, list_name), "wb") as out:
                out.write(content)
        self.path = os.path.join(self.folder, "r.pdf")
        done = run([EVAL, "--json", "--report", "r.pdf"] + list(lists), self.folder)
        if done.returncode not in (0, 1):
            raise RuntimeError("ambersel-eval failed: %s" % done.stderr.decode())
        self.json = json.loads(done.stdout)
        with open(self.path, "rb") as document:
            self.bytes = document.read()
        text = run(["pdftotext", "-layout", self.path, "-"], self.folder).stdout.decode()
        self.pages = text.split("\f")[:-1]


def example(name):
    with open(os.path.join(SOURCE, "examples", name), "rb") as source:
        return source.read()


def generated(index):
    return "".join("%d,%.2f\r\n" % (150000 + 1000 * p, 30 + (index * 7 + p * 13) % 37 / 2)
                   for p in range(12)).encode()


REPORTS = {}


def setUpModule():
    os.makedirs(SCRATCH, exist_ok=True)
    REPORTS["examples"] = Report("examples", {
        "emission_150k_30M.ASC": example("emission_150k_30M.ASC"),
        "switching_supply_fail.ASC": example("switching_supply_fail.ASC"),
        "Prüfung µ Ω Жук 東京.ASC": b"150000,40.5\n1000000,52.25\n30000000,38\nEnd of scan\n",
    })
    # Enough lists for the summary's table to run over two pages and more.
    REPORTS["lot"] = Report("lot", {"unit_%03d.ASC" % i: generated(i) for i in range(90)})
    REPORTS["one"] = Report("one", {"emission_150k_30M.ASC": example("emission_150k_30M.ASC")})


class Pages(unittest.TestCase):
    def test_every_page_says_which_report_and_which_page_of_all(self):
        for name, report in REPORTS.items():
            with self.subTest(name):
                count = len(report.pages)
                ids = set()
                for number, page in enumerate(report.pages, 1):
                    self.assertIn("Page %d of %d" % (number, count), page)
                    found = re.findall(r"Report ([0-9A-F]{4}(?:-[0-9A-F]{4}){3})", page)
                    self.assertGreaterEqual(len(found), 2, "in the head and the foot")
                    ids.update(found)
                self.assertEqual(len(ids), 1, "one identification throughout")

    def test_the_report_ends_once_on_its_last_page(self):
        for name, report in REPORTS.items():
            with self.subTest(name):
                ends = [n for n, page in enumerate(report.pages) if "End of report" in page]
                self.assertEqual(ends, [len(report.pages) - 1])

    def test_a_table_over_several_pages_repeats_its_heads_on_each(self):
        lot = REPORTS["lot"]
        summary = [page for page in lot.pages if SUMMARY_HEADS.search(page)]
        self.assertGreaterEqual(len(summary), 2, "the summary of 90 lists fills two pages")
        for page in summary:
            self.assertEqual(len(SUMMARY_HEADS.findall(page)), 1)
        rows = sum(len(re.findall(r"unit_\d{3}\.ASC +(?:PASS|FAIL)", page)) for page in summary)
        self.assertEqual(rows, 90, "every list's row once")

    def test_names_and_hashes_come_back_whole(self):
        text = "".join(REPORTS["examples"].pages)
        for wanted in ["Prüfung µ Ω Жук", "978a426a1bdfd583ae4aca5007b5df85f8078dbaf54db2a71091d1371621c184",
                       "line 4: 'End of scan'"]:
            self.assertIn(wanted, text)


class Evidence(unittest.TestCase):
    def test_each_list_and_its_json_object_are_attached_as_evaluated(self):
        for name, report in REPORTS.items():
            with self.subTest(name), pikepdf.open(report.path) as pdf:
                # By the Unicode name (/UF); /F and the key are its ASCII stand-in.
                attached = {str(entry.obj.UF): entry for entry in pdf.attachments.values()}
                self.assertEqual(len(pdf.Root.AF), 2 * len(report.lists))
                for (list_name, content), evaluated in zip(report.lists.items(), report.json):
                    source = attached[list_name]
                    self.assertEqual(source.obj.AFRelationship, pikepdf.Name.Source)
                    self.assertEqual(source.get_file().read_bytes(), content)
                    data = attached[list_name + ".json"]
                    self.assertEqual(data.obj.AFRelationship, pikepdf.Name.Data)
                    self.assertEqual(json.loads(data.get_file().read_bytes()), evaluated)

    def test_the_list_taken_out_gives_the_same_bits_again(self):
        report = REPORTS["examples"]
        with pikepdf.open(report.path) as pdf:
            for attached in pdf.attachments.values():
                list_name = str(attached.obj.UF)
                if list_name.endswith(".json"):
                    continue
                taken = os.path.join(report.folder, "taken.ASC")
                with open(taken, "wb") as out:
                    out.write(attached.get_file().read_bytes())
                again = json.loads(run([EVAL, "--json", "taken.ASC"], report.folder).stdout)[0]
                original = next(o for o in report.json if o["path"] == list_name)
                self.assertEqual(again["figure_bits"], original["figure_bits"])

    def test_metadata_declares_pdfa3b(self):
        with pikepdf.open(REPORTS["one"].path) as pdf:
            metadata = pdf.open_metadata()
            self.assertEqual((metadata["pdfaid:part"], metadata["pdfaid:conformance"]), ("3", "B"))
            self.assertEqual(pdf.Root.OutputIntents[0].S, pikepdf.Name.GTS_PDFA1)
            self.assertTrue(str(pdf.docinfo.Title).startswith("Ambersel test report "))


class Document(unittest.TestCase):
    def test_qpdf_finds_nothing_and_two_renderers_draw_without_a_warning(self):
        for name, report in REPORTS.items():
            with self.subTest(name):
                done = run(["qpdf", "--check", report.path], report.folder)
                self.assertEqual(done.returncode, 0, done.stdout.decode())
                for command in (["pdftoppm", "-r", "36", "-png", report.path, "poppler"],
                                ["mutool", "draw", "-N", "-q", "-r", "36", "-o", "mupdf-%d.png",
                                 report.path]):
                    done = run(command, report.folder)
                    self.assertEqual((done.returncode, done.stderr), (0, b""), command[0])

    def test_the_same_lists_at_the_same_time_give_the_same_bytes(self):
        report = REPORTS["examples"]
        run([EVAL, "--report", "again.pdf"] + list(report.lists), report.folder)
        with open(os.path.join(report.folder, "again.pdf"), "rb") as again:
            self.assertEqual(again.read(), report.bytes)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
