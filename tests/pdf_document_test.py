#!/usr/bin/env python3
"""PDF documents of the program's own writer, read by other programs: qpdf's check; pikepdf for
the archive's metadata, output intent, fonts and attached files; poppler's pdftotext for the text
and where it lies; two renderers (poppler's pdftoppm, MuPDF's mutool) for warnings. The writer's
cross-reference table is checked against the objects it points at, and the same list gives the
same bytes twice.

    pdf_document_test.py PDF_SAMPLE_WRITER SCRATCH_FOLDER

The sample writer (tests/pdf_sample_writer.cpp) makes the documents: a chart page and a page of
tables with names outside ASCII, "Page n of m" under each, the list and a JSON object attached.
No full PDF/A validator runs here: these checks cover the rules named in the README.
"""

import hashlib
import io
import json
import os
import re
import shutil
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ElementTree

import pikepdf
from PIL import Image, ImageCms

WRITER, SCRATCH = sys.argv[1], os.path.abspath(sys.argv[2])
SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MOMENT = "1718094600"  # 2024-06-11T08:30:00Z
A4_WIDTH = 595.2755905511812
MARGIN = 48

# Each list: its file name and its bytes, or the example it copies.
LISTS = {
    "emission_150k_30M.ASC": "examples/emission_150k_30M.ASC",
    "switching_supply_fail.ASC": "examples/switching_supply_fail.ASC",
    "Prüfung µ Ω Жук.ASC": b"150000,40.5\r\n1000000,52.25\r\n30000000,38\r\n",
    "not_a_number.ASC": b"1000,60\nnan,40\n1000,inf\n2000,-inf\n",
    "empty.ASC": b"",
}


class Sample:
    """One list's document, its chart as SVG, and where the chart lies on the page."""

    def __init__(self, name, content):
        folder = os.path.join(SCRATCH, hashlib.sha256(name.encode()).hexdigest()[:12])
        os.makedirs(folder, exist_ok=True)
        self.name = name
        self.list_path = os.path.join(folder, name)
        if isinstance(content, str):
            shutil.copyfile(os.path.join(SOURCE, content), self.list_path)
        else:
            with open(self.list_path, "wb") as out:
                out.write(content)
        with open(self.list_path, "rb") as source:
            self.list_bytes = source.read()
        self.pdf_path = os.path.join(folder, "sample.pdf")
        self.svg_path = os.path.join(folder, "chart.svg")
        done = write(self.pdf_path, self.list_path, self.svg_path)
        self.chart_at = [float(x) for x in done.stdout.split()[2:6]]
        with open(self.pdf_path, "rb") as document:
            self.bytes = document.read()


def write(pdf_path, list_path, svg_path):
    done = subprocess.run([WRITER, pdf_path, list_path, MOMENT, svg_path], capture_output=True,
                          text=True, timeout=120, check=False)
    if done.returncode != 0:
        raise RuntimeError("%s failed: %s" % (WRITER, done.stderr))
    return done


def run(command):
    return subprocess.run(command, capture_output=True, timeout=120, check=False)


SAMPLES = []


def setUpModule():
    shutil.rmtree(SCRATCH, ignore_errors=True)
    SAMPLES.extend(Sample(name, content) for name, content in LISTS.items())


class Structure(unittest.TestCase):
    def test_qpdf_finds_nothing(self):
        for sample in SAMPLES:
            with self.subTest(sample.name):
                done = run(["qpdf", "--check", sample.pdf_path])
                self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
                self.assertIn(b"No syntax or stream encoding errors", done.stdout)
                self.assertNotIn(b"WARNING", done.stdout + done.stderr)

    def test_offsets_point_at_every_object_written(self):
        for sample in SAMPLES:
            with self.subTest(sample.name):
                data = sample.bytes
                table = int(re.search(rb"startxref\n(\d+)\n%%EOF\n$", data).group(1))
                self.assertEqual(data[table:table + 5], b"xref\n")
                count = int(re.match(rb"xref\n0 (\d+)\n", data[table:]).group(1))
                entries = data.index(b"\n", table + 5) + 1
                offsets = {}
                for number in range(1, count):
                    entry = data[entries + number * 20:entries + number * 20 + 20]
                    self.assertRegex(entry, rb"^\d{10} 00000 n \n$")
                    offsets[number] = int(entry[:10])
                    header = b"%d 0 obj\n" % number
                    self.assertEqual(data[offsets[number]:offsets[number] + len(header)], header)
                written = {int(m.group(1)): m.start(1)
                           for m in re.finditer(rb"(?m)^(\d+) 0 obj\n", data[:table])}
                self.assertEqual(written, offsets, "every object in the table, and only those")

    def test_same_list_same_bytes(self):
        for sample in SAMPLES:
            with self.subTest(sample.name):
                again = sample.pdf_path + ".again.pdf"
                write(again, sample.list_path, sample.svg_path + ".again.svg")
                with open(again, "rb") as document:
                    self.assertEqual(document.read(), sample.bytes)


class Archive(unittest.TestCase):
    def test_metadata_declares_pdfa3b_and_agrees_with_the_information(self):
        for sample in SAMPLES:
            with self.subTest(sample.name), pikepdf.open(sample.pdf_path) as pdf:
                self.assertNotIn("/Filter", pdf.Root.Metadata.keys(), "metadata left plain")
                meta = pdf.open_metadata()
                info = pdf.docinfo
                self.assertEqual(meta["pdfaid:part"], "3")
                self.assertEqual(meta["pdfaid:conformance"], "B")
                self.assertEqual(meta["dc:title"], str(info.Title))
                self.assertEqual(meta["dc:title"], "Test record of " + sample.name)
                self.assertEqual(meta["dc:creator"], [str(info.Author)])
                self.assertEqual(meta["xmp:CreatorTool"], str(info.Creator))
                self.assertEqual(meta["pdf:Producer"], str(info.Producer))
                self.assertEqual(meta["xmp:CreateDate"], "2024-06-11T08:30:00+00:00")
                self.assertEqual(str(info.CreationDate), "D:20240611083000+00'00'")
                self.assertEqual(meta["xmp:ModifyDate"], "2024-06-11T08:30:00+00:00")
                self.assertEqual(str(info.ModDate), "D:20240611083000+00'00'")
                first, second = pdf.trailer.ID
                self.assertEqual(bytes(first), bytes(second))
                self.assertEqual(meta["xmpMM:DocumentID"],
                                 "uuid:%s-%s-%s-%s-%s" % tuple(bytes(first).hex()[a:b] for a, b in
                                                               ((0, 8), (8, 12), (12, 16),
                                                                (16, 20), (20, 32))))
                self.assertNotIn("/Encrypt", pdf.trailer.keys())

    def test_output_intent_is_srgb(self):
        for sample in SAMPLES:
            with self.subTest(sample.name), pikepdf.open(sample.pdf_path) as pdf:
                (intent,) = pdf.Root.OutputIntents
                self.assertEqual(intent.S, "/GTS_PDFA1")
                self.assertEqual(str(intent.OutputConditionIdentifier), "sRGB IEC61966-2.1")
                profile = intent.DestOutputProfile
                self.assertEqual(int(profile.N), 3)
                icc = profile.read_bytes()
                self.assertEqual(int.from_bytes(icc[:4], "big"), len(icc))
                self.assertEqual(icc[12:24], b"mntrRGB XYZ ")
                self.assertEqual(icc[36:40], b"acsp")
                for ours, its in zip(lab_colours(icc), lab_colours(None)):
                    self.assertLessEqual(max(abs(a - b) for a, b in zip(ours, its)), 1,
                                         "littleCMS sees our profile as its own sRGB")

    def test_every_font_is_embedded_with_its_text(self):
        for sample in SAMPLES:
            with self.subTest(sample.name), pikepdf.open(sample.pdf_path) as pdf:
                faces = set()
                for page in pdf.pages:
                    for _, font in page.Resources.Font.items():
                        self.assertEqual(font.Subtype, "/Type0")
                        self.assertEqual(font.Encoding, "/Identity-H")
                        self.assertIn(b"beginbfchar", font.ToUnicode.read_bytes())
                        (cid_font,) = font.DescendantFonts
                        self.assertEqual(cid_font.Subtype, "/CIDFontType2")
                        self.assertEqual(cid_font.CIDToGIDMap, "/Identity")
                        self.assertRegex(str(cid_font.BaseFont), r"^/[A-Z]{6}\+DejaVuSans")
                        descriptor = cid_font.FontDescriptor
                        self.assertEqual(descriptor.FontName, cid_font.BaseFont)
                        program = descriptor.FontFile2.read_bytes()
                        self.assertEqual(len(program), int(descriptor.FontFile2.Length1))
                        self.assertEqual(program[:4], b"\x00\x01\x00\x00")
                        faces.add(str(cid_font.BaseFont)[8:])
                self.assertEqual(faces, {"DejaVuSans", "DejaVuSans-Bold", "DejaVuSansMono"})

    def test_the_list_and_its_json_are_attached(self):
        for sample in SAMPLES:
            with self.subTest(sample.name), pikepdf.open(sample.pdf_path) as pdf:
                relations = {str(entry.AFRelationship): entry for entry in pdf.Root.AF}
                self.assertEqual(set(relations), {"/Source", "/Data"})
                source = relations["/Source"]
                self.assertEqual(str(source.UF), sample.name)
                stream = source.EF.F
                self.assertEqual(stream.read_bytes(), sample.list_bytes)
                self.assertEqual(stream.Subtype, "/text/plain")
                self.assertEqual(int(stream.Params.Size), len(sample.list_bytes))
                self.assertEqual(str(stream.Params.ModDate), "D:20240611083000+00'00'")
                data = relations["/Data"].EF.F
                self.assertEqual(data.Subtype, "/application/json")
                self.assertEqual(json.loads(data.read_bytes())["file"], sample.name)
                self.assertEqual(len(pdf.attachments), 2)


def lab_colours(icc):
    """Colours of the charts and pure primaries through `icc` (None: littleCMS's own sRGB) into
    CIE Lab, as 8-bit Lab pixels."""
    colours = [(255, 255, 255), (0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255),
               (128, 128, 128), (0x1F, 0x77, 0xB4), (0xD6, 0x27, 0x28), (0xE8, 0xEC, 0xF2)]
    source = (ImageCms.ImageCmsProfile(io.BytesIO(icc)) if icc is not None
              else ImageCms.createProfile("sRGB"))
    transform = ImageCms.buildTransform(source, ImageCms.createProfile("LAB", 5000), "RGB", "LAB")
    picture = Image.new("RGB", (len(colours), 1))
    picture.putdata(colours)
    return list(ImageCms.applyTransform(picture, transform).getdata())


class Text(unittest.TestCase):
    def test_text_taken_from_the_pages_reads_as_written(self):
        wanted = ["Page 1 of 2", "Page 2 of 2", "Prüflabor Süd GmbH, Ærøskøbing µ-Messtechnik",
                  "Hauptstraße 5, 80331 München", "Ωmega Ζήτα / Жанна Кузнецова",
                  # No shipped face has these: drawn as U+FFFD, marked to read as themselves.
                  "東京測器 (Tokyo)", "End of record"]
        for sample in SAMPLES:
            with self.subTest(sample.name):
                done = run(["pdftotext", "-enc", "UTF-8", sample.pdf_path, "-"])
                self.assertEqual(done.stderr, b"")
                text = done.stdout.decode("utf-8")
                for line in wanted + [hashlib.sha256(sample.list_bytes).hexdigest(),
                                      "Record of " + sample.name]:
                    self.assertIn(line, text)

    def test_text_lies_where_the_layout_put_it(self):
        for sample in SAMPLES:
            with self.subTest(sample.name):
                words = words_of(sample.pdf_path)
                left, top, width, _ = sample.chart_at
                scale = width / float(ElementTree.parse(sample.svg_path).getroot().get("width"))
                # The axis titles: centred on their anchors, across and (turned) upwards.
                for label, axis in (("Frequency", 0), ("Level (dBµV)", 1)):
                    anchor = svg_anchor(sample.svg_path, label)
                    boxes = [w for w in words[0] if w[4] in label.split()]
                    self.assertEqual(len(boxes), len(label.split()))
                    centre = (min(b[axis] for b in boxes) + max(b[axis + 2] for b in boxes)) / 2
                    self.assertAlmostEqual(centre, (left, top)[axis] + anchor[axis] * scale,
                                           delta=0.02, msg=label)
                last = words[1][-1]
                self.assertEqual(last[4], "2")
                self.assertAlmostEqual(last[2], A4_WIDTH - MARGIN, delta=0.01,
                                       msg="the footer ends at the right margin")
                end = [w for w in words[1] if w[4] in ("End", "record")]
                self.assertAlmostEqual((end[0][0] + end[-1][2]) / 2, A4_WIDTH / 2, delta=0.01,
                                       msg="centred on the page")


def words_of(pdf_path):
    """Each page's words: (xMin, yMin, xMax, yMax, text), in points from the top left."""
    done = run(["pdftotext", "-bbox", "-enc", "UTF-8", pdf_path, "-"])
    pages = []
    for page in re.findall(r"<page .*?</page>", done.stdout.decode("utf-8"), re.S):
        pages.append([(float(a), float(b), float(c), float(d), word) for a, b, c, d, word in
                      re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" '
                                 r'yMax="([\d.]+)">([^<]*)</word>', page)])
    return pages


def svg_anchor(svg_path, text):
    """The anchor of the SVG's text `text`."""
    for element in ElementTree.parse(svg_path).getroot().iter("{http://www.w3.org/2000/svg}text"):
        if element.text == text:
            return float(element.get("x")), float(element.get("y"))
    raise AssertionError("no text " + text)


class Rendering(unittest.TestCase):
    def test_both_renderers_draw_every_page_without_a_warning(self):
        for sample in SAMPLES:
            prefix = sample.pdf_path[:-4]
            # Debian's mutool is built without colour management and says so for every file
            # unless told to do without (-N).
            for command in (["pdftoppm", "-r", "72", "-png", sample.pdf_path, prefix + "-poppler"],
                            ["mutool", "draw", "-N", "-q", "-r", "72", "-o",
                             prefix + "-mupdf-%d.png", sample.pdf_path]):
                with self.subTest(sample.name, renderer=command[0]):
                    done = run(command)
                    self.assertEqual((done.returncode, done.stderr), (0, b""))
            for picture in (prefix + "-poppler-1.png", prefix + "-mupdf-1.png"):
                self.assertGreater(os.path.getsize(picture), 20000, "a chart drawn, not blank")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
