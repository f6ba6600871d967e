// The PDF writer piece by piece: its syntax, the file's cross-reference table, compression, the
// shipped faces and their subsets, text the faces lack, the canvas's saved states, pictures on a
// page, the colour profile, and whole documents. tests/pdf_document_test.py reads whole documents
// with other programs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "plot/canvas/font_metrics.h"
#include "plot/canvas/svg_canvas.h"
#include "plot/fonts/shipped_fonts.h"
#include "plot/pdf/big_endian.h"
#include "plot/pdf/deflate.h"
#include "plot/pdf/document.h"
#include "plot/pdf/font_subset.h"
#include "plot/pdf/pdf_canvas.h"
#include "plot/pdf/pdf_syntax.h"
#include "plot/pdf/srgb_profile.h"
#include "tests/pdf_test_support.h"
#include "text/byte_text.h"

namespace ambersel::testing {
namespace {

using namespace ambersel::plot;
using namespace ambersel::plot::pdf;
using namespace std::chrono_literals;

constexpr std::chrono::sys_seconds kMoment{1718094600s};
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr Face kFaces[] = {Face::Sans, Face::SansBold, Face::SansMono};

std::span<const std::byte> bytesOf(std::string_view text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

std::size_t count(std::string_view text, std::string_view part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size())) {
        ++found;
    }
    return found;
}

TEST(PdfSyntax, WritesNumbersNamesStringsAndDatesAsReadersParseThem) {
    const std::tuple<const char*, std::string, std::string> rows[] = {
        {"a whole number keeps its zeros", number(100), "100"},
        {"trailing zeros go", number(0.5, 4), "0.5"},
        {"rounded to the decimals asked", number(2.0 / 3.0, 6), "0.666667"},
        {"a tiny negative is 0, not -0", number(-0.0001), "0"},
        {"not a number is 0", number(kNan), "0"},
        {"no exponent for a huge value", number(1e300), "1000000000"},
        {"a name's delimiters and spaces as #xx", name("text/plain a#b"), "/text#2Fplain#20a#23b"},
        {"a name's bytes above 127 as #xx", name("\xC3\xA4"), "/#C3#A4"},
        {"a string's brackets and backslash escaped", literalString("a(b)\\c"), "(a\\(b\\)\\\\c)"},
        {"a string's line end and high byte in octal", literalString("\n\xE4"), "(\\012\\344)"},
        {"ASCII text stays readable", textString("Record 1"), "(Record 1)"},
        {"other text in UTF-16BE", textString("Mü"), "<FEFF004D00FC>"},
        {"beyond the BMP: a surrogate pair", textString("\xF0\x9F\x98\x80"), "<FEFFD83DDE00>"},
        {"an invalid byte: U+FFFD", textString("a\xFF"), "<FEFF0061FFFD>"},
        {"the epoch", pdfDate(std::chrono::sys_seconds{}), "D:19700101000000+00'00'"},
        {"a leap day", xmpDate(std::chrono::sys_days{std::chrono::year{2024} / 2 / 29} + 45296s),
         "2024-02-29T12:34:56+00:00"},
        {"before 1970", xmpDate(std::chrono::sys_seconds{-1s}), "1969-12-31T23:59:59+00:00"},
        {"beyond year 9999: its last second",
         pdfDate(std::chrono::sys_seconds{
             std::chrono::seconds{std::numeric_limits<long long>::max() / 2}}),
         "D:99991231235959+00'00'"},
        {"before year 1: its first second",
         xmpDate(std::chrono::sys_seconds{std::chrono::seconds{-(1LL << 50)}}),
         "0001-01-01T00:00:00+00:00"},
    };
    for (const auto& [what, written, expected] : rows) {
        EXPECT_EQ(written, expected) << what;
    }
}

// A file of objects written out of order, one stream whole and one in pieces.
std::string objectsFile() {
    std::string file;
    ObjectWriter objects([&file](std::string_view bytes) { file += bytes; });
    const ObjectRef late = objects.reserve();
    const ObjectRef early = objects.object("<< /Next " + reference(late) + " >>");
    objects.stream(" /Filter /FlateDecode", deflated("0 0 m 10 10 l S"));
    const ObjectRef pieces = objects.reserve();
    objects.beginStream(pieces, "");
    objects.streamData(std::string(70000, 'x'));
    objects.streamData("end");
    objects.endStream();
    objects.object(late, "[" + reference(early) + "]");
    objects.finish("/Root " + reference(early));
    return file;
}

TEST(PdfObjects, OffsetsInTheTablePointAtTheirObjectsAndLengthsAtTheirStreams) {
    const std::string file = objectsFile();
    EXPECT_EQ(crossReferenceFault(file), "");
    EXPECT_TRUE(file.starts_with("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n")) << "header and binary mark";
    const std::size_t data = file.find("stream\n", file.find("4 0 obj")) + 7;
    EXPECT_EQ(file.substr(data + 70003, 11), "\nendstream\n");
    EXPECT_NE(file.find("4 0 obj\n<< /Length 5 0 R >>"), std::string::npos);
    EXPECT_NE(file.find("5 0 obj\n70003\nendobj"), std::string::npos) << "its length follows it";
    EXPECT_EQ(file, objectsFile()) << "the same objects give the same bytes";
}

TEST(PdfObjects, RefuseWhatWouldBreakTheTable) {
    const std::tuple<const char*, std::function<void(ObjectWriter&)>> rows[] = {
        {"a number reserved and never written",
         [](ObjectWriter& objects) {
             objects.reserve();
             objects.finish("");
         }},
        {"an object written twice",
         [](ObjectWriter& objects) {
             const ObjectRef object = objects.object("1");
             objects.object(object, "2");
         }},
        {"an object inside a stream",
         [](ObjectWriter& objects) {
             objects.beginStream(objects.reserve(), "");
             objects.object("1");
         }},
        {"a stream left open",
         [](ObjectWriter& objects) {
             objects.beginStream(objects.reserve(), "");
             objects.finish("");
         }},
    };
    for (const auto& [what, misuse] : rows) {
        ObjectWriter objects([](std::string_view) {});
        EXPECT_THROW(misuse(objects), std::logic_error) << what;
    }
}

TEST(PdfDeflate, InflatesToWhatWasGivenInAnyPieces) {
    std::string large;
    for (int line = 0; line < 40000; ++line) {
        large += std::to_string(line * 7919 % 100003) + " 12.5 l\n";
    }
    const std::tuple<const char*, std::string, std::size_t> rows[] = {
        {"nothing", "", 1},
        {"a line", "0 0 m 595 842 l S\n", 1},
        {"more than one output chunk", large, 1},
        {"in many small pieces", large, 4093},
    };
    for (const auto& [what, text, pieces] : rows) {
        Deflater deflater;
        std::string compressed;
        const std::size_t piece = text.size() / pieces + 1;
        for (std::size_t at = 0; at < text.size(); at += piece) {
            deflater.add(std::string_view(text).substr(at, piece), compressed);
        }
        deflater.finish(compressed);
        EXPECT_EQ(inflated(compressed), text) << what;
    }
}

std::string utf8Of(char32_t codePoint) {
    std::string out;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

// The faces embedded must draw text as wide as the layout measured it: every code point of the
// metrics table has its glyph in the shipped file, with the same advance, and every other code
// point none (the layout counts it an em, and the PDF draws a stand-in an em wide).
TEST(ShippedFaces, AdvanceAsTheLayoutMeasures) {
    for (const Face face : kFaces) {
        const TrueTypeFont& font = shippedTrueTypeFont(face);
        ASSERT_EQ(font.facts().unitsPerEm, 2048);
        int glyphs = 0;
        for (char32_t codePoint = 0x20; codePoint < 0x20000; ++codePoint) {
            if (codePoint == 0x7F) {
                codePoint = 0xA0;  // control characters are drawn as U+FFFD
            }
            if (codePoint == 0xD800) {
                codePoint = 0xE000;
            }
            const GlyphId glyph = font.glyphOf(codePoint);
            ASSERT_EQ(glyph != 0, faceHasGlyph(face, codePoint))
                << "face " << indexOf(face) << ", U+" << std::hex
                << static_cast<std::uint32_t>(codePoint);
            if (glyph != 0 && (codePoint < 0xFDD0 || codePoint > 0xFDEF) &&
                (codePoint & 0xFFFE) != 0xFFFE) {
                ++glyphs;
                ASSERT_EQ(textExtent(utf8Of(codePoint), face, 2048).width, font.advanceOf(glyph))
                    << "face " << indexOf(face) << ", U+" << std::hex
                    << static_cast<std::uint32_t>(codePoint);
            }
        }
        EXPECT_GT(glyphs, 3000) << "face " << indexOf(face);
        EXPECT_NE(font.glyphOf(kReplacementCharacter), 0) << "the stand-in for what it lacks";
    }
}

TEST(FontSubsets, KeepTheGlyphsUsedAndTheirPartsAtTheirNumbers) {
    const TrueTypeFont& whole = shippedTrueTypeFont(Face::Sans);
    // Ä and ä are made of a letter and a diaeresis; Å is drawn whole.
    std::vector<GlyphId> used;
    for (const char32_t codePoint : drawnCodePoints("Äa Å")) {
        used.push_back(whole.glyphOf(codePoint));
    }
    const std::string file = subsetFont(whole, used);
    const TrueTypeFont subset(bytesOf(file));
    std::vector<GlyphId> kept{0};
    for (const GlyphId glyph : used) {
        kept.push_back(glyph);
        const std::vector<GlyphId> parts = whole.componentsOf(glyph);
        kept.insert(kept.end(), parts.begin(), parts.end());
    }
    ASSERT_EQ(whole.componentsOf(whole.glyphOf(U'Ä')).size(), 2U) << "the font has changed";
    EXPECT_EQ(subset.glyphCount(), *std::max_element(kept.begin(), kept.end()) + 1);
    for (GlyphId glyph = 0; glyph < subset.glyphCount(); ++glyph) {
        const bool isKept = std::find(kept.begin(), kept.end(), glyph) != kept.end();
        const auto outline = subset.outlineOf(glyph);
        const auto original = whole.outlineOf(glyph);
        EXPECT_TRUE(
            isKept ? std::equal(outline.begin(), outline.end(), original.begin(), original.end())
                   : outline.empty())
            << "glyph " << glyph << (isKept ? " changed" : " was not left out");
        EXPECT_EQ(subset.advanceOf(glyph), whole.advanceOf(glyph)) << "glyph " << glyph;
    }
    EXPECT_EQ(subset.glyphOf(U'a'), 0) << "a subset needs no character map";
    EXPECT_EQ(readU32(bytesOf(file), 0), 0x00010000U) << "a TrueType file";
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < file.size(); at += 4) {
        sum += readU32(bytesOf(file), at);
    }
    EXPECT_EQ(sum, 0xB1B0AFBAU) << "the checksum adjustment makes the file sum to the magic";
    EXPECT_LT(file.size() * 10, shippedFontFile(Face::Sans).size())
        << "the rest of the face's outlines are left out";
}

// The operators of a page's content, inflated.
std::string contentOf(Page& page) {
    return inflated(page.finish().compressed);
}

TEST(PdfText, StandsInForWhatTheFaceLacksAnEmWideAndKeepsItsText) {
    const TrueTypeFont& sans = shippedTrueTypeFont(Face::Sans);
    const GlyphId replacement = sans.glyphOf(kReplacementCharacter);
    const double width = sans.advanceOf(replacement) * 1000.0 / 2048;
    const std::tuple<const char*, std::string, std::string> rows[] = {
        {"a CJK character", "\xE6\x9D\xB1", "FEFF6771"},
        {"beyond the BMP, as a surrogate pair", "\xF0\xA0\x80\x80", "FEFFD840DC00"},
    };
    for (const auto& [what, text, actual] : rows) {
        Page page;
        page.text("x" + text + "y", {10, 20}, Face::Sans, 10);
        const std::string content = contentOf(page);
        const std::string standIn = "/Span << /ActualText <" + actual + "> >> BDC\n[<" +
                                    std::string(1, "0123456789ABCDEF"[replacement >> 12]);
        EXPECT_NE(content.find(standIn), std::string::npos) << what << "\n" << content;
        EXPECT_NE(content.find("> " + number(width - 1000, 8) + "] TJ\nEMC"), std::string::npos)
            << what << ": the stand-in must advance an em\n"
            << content;
        EXPECT_EQ(count(content, "BT"), 1U) << what;
    }
    Page page;
    page.text("f\xEF\xBF\xBDi\x01", {0, 0}, Face::SansMono, 9);
    const FinishedContent content = page.finish();
    const auto& used = content.uses.faces[indexOf(Face::SansMono)].glyphs();
    const TrueTypeFont& mono = shippedTrueTypeFont(Face::SansMono);
    EXPECT_TRUE(used.at(mono.glyphOf(kReplacementCharacter)) == kReplacementCharacter);
    EXPECT_EQ(used.size(), 3U) << "f, i and U+FFFD, which a control byte is drawn as";
    EXPECT_EQ(inflated(content.compressed).find("ActualText"), std::string::npos)
        << "no stand-in for what the face has";

    Page longest;
    longest.text(std::string(10000, 'x'), {0, 0}, Face::Sans, 9);
    const std::string shown = contentOf(longest);
    EXPECT_EQ(count(shown, "> Tj"), 3U) << "archival PDF's strings hold at most 32767 bytes";
    EXPECT_EQ(count(shown, "BT"), 1U) << "one text, shown in pieces";
}

// Every state a canvas saves it restores, however its clips were set and its marks drawn: an
// unbalanced content stream makes readers warn and draws later content clipped.
TEST(PdfCanvasState, IsRestoredHoweverClipsWereSet) {
    const Rect box{10, 10, 50, 50};
    const std::tuple<const char*, std::function<void(Canvas&)>> rows[] = {
        {"nothing drawn", [](Canvas&) {}},
        {"a clip left set", [&](Canvas& canvas) { canvas.clip(box); }},
        {"a clip replaced",
         [&](Canvas& canvas) {
             canvas.clip(box);
             canvas.clip(box.grown(-5));
             canvas.rectangle(box, 3, {Colour{1, 2, 3, 128}, Stroke{{}, 2}});
         }},
        {"marks, one of no size",
         [&](Canvas& canvas) {
             const Point centres[] = {{20, 20}, {40, 40}};
             canvas.marks(centres, MarkShape::Circle, 0, {Colour{}, Stroke{}});
             canvas.marks(centres, MarkShape::TriangleUp, 3, {Colour{}, Stroke{{}, 0.5}});
         }},
        {"a clip ended twice",
         [&](Canvas& canvas) {
             canvas.clip(box);
             canvas.clip(std::nullopt);
             canvas.clip(std::nullopt);
         }},
    };
    for (const auto& [what, draw] : rows) {
        Page page;
        page.picture({0, 0, 100, 100}, {100, 100}, draw);
        page.text("after", {5, 90}, Face::Sans, 10);
        const std::string content = contentOf(page);
        EXPECT_EQ(count(content, "q\n"), count(content, "Q\n")) << what << "\n" << content;
        EXPECT_EQ(content.find("0 0 0 0 "), std::string::npos)
            << what << ": a transformation to nothing, which renderers warn of";
        EXPECT_GT(content.rfind("BT"), content.rfind("Q\n", content.size() - 3))
            << what << ": text after the picture is outside its clip";
    }
}

TEST(PagePictures, AreScaledAlikeAcrossAndDownToFitTheirPlace) {
    const std::tuple<const char*, Rect, Size, Rect> rows[] = {
        {"a wide place: the height decides", {40, 50, 500, 100}, {1200, 600}, {40, 50, 200, 100}},
        {"a tall place: the width decides", {40, 50, 300, 800}, {1200, 600}, {40, 50, 300, 150}},
        {"no picture takes no room", {40, 50, 300, 800}, {0, 600}, {40, 50, 0, 0}},
    };
    for (const auto& [what, where, pictureSize, taken] : rows) {
        Page page;
        const Rect placed = page.picture(where, pictureSize, [](Canvas&) {});
        EXPECT_DOUBLE_EQ(placed.left, taken.left) << what;
        EXPECT_DOUBLE_EQ(placed.top, taken.top) << what;
        EXPECT_DOUBLE_EQ(placed.width, taken.width) << what;
        EXPECT_DOUBLE_EQ(placed.height, taken.height) << what;
    }
}

// The sRGB profile against the published parameters: its colorants add up to the D50 white
// (what makes white white), red has its published XYZ, and every sample of the tone curve is
// the sRGB curve computed by the C library.
TEST(SrgbProfile, HasTheColorantsAndToneCurveOfSrgb) {
    const std::string profile = srgbProfile();
    const auto bytes = bytesOf(profile);
    ASSERT_EQ(readU32(bytes, 0), profile.size());
    EXPECT_EQ(profile.substr(36, 4), "acsp");
    EXPECT_EQ(profile.substr(12, 12), "mntrRGB XYZ ");
    const auto tag = [&](std::string_view signature) -> std::size_t {
        for (std::size_t entry = 0; entry < readU32(bytes, 128); ++entry) {
            if (profile.substr(132 + entry * 12, 4) == signature) {
                return readU32(bytes, 132 + entry * 12 + 4);
            }
        }
        ADD_FAILURE() << "no tag " << signature;
        return 0;
    };
    const auto fixed = [&](std::size_t at) {
        return static_cast<std::int32_t>(readU32(bytes, at)) / 65536.0;
    };
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const double sum = fixed(tag("rXYZ") + 8 + axis * 4) + fixed(tag("gXYZ") + 8 + axis * 4) +
                           fixed(tag("bXYZ") + 8 + axis * 4);
        EXPECT_NEAR(sum, fixed(tag("wtpt") + 8 + axis * 4), 3.0 / 65536) << "axis " << axis;
    }
    EXPECT_NEAR(fixed(tag("rXYZ") + 8), 0.4361, 0.0002);
    EXPECT_NEAR(fixed(tag("rXYZ") + 12), 0.2225, 0.0002);
    const std::size_t curve = tag("rTRC");
    ASSERT_EQ(readU32(bytes, curve + 8), 1024U);
    for (std::uint32_t sample = 0; sample < 1024; ++sample) {
        const double encoded = sample / 1023.0;
        const double linear =
            encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
        ASSERT_NEAR(readU16(bytes, curve + 12 + sample * 2), linear * 65535, 0.5 + 1e-6)
            << "sample " << sample;
    }
    EXPECT_EQ(profile, srgbProfile());
}

// A document of two pages, one with a picture, a footer on each, and two files, one of them
// named twice.
std::string sampleDocument(std::uint8_t idByte, std::vector<std::string>* footers = nullptr) {
    std::string file;
    DocumentInfo info{"Record", "Prüflabor", "", "Tool 1", "Tool 1", kMoment, kMoment};
    info.id.fill(idByte);
    Document document([&file](std::string_view bytes) { file += bytes; }, info,
                      [footers](Page& footer, std::size_t page, std::size_t pages) {
                          const std::string text =
                              "Page " + std::to_string(page) + " of " + std::to_string(pages);
                          footer.text(text, {40, 800}, Face::Sans, 8);
                          if (footers != nullptr) {
                              footers->push_back(text);
                          }
                      });
    Page first;
    first.text("Hash 0123456789abcdef", {40, 60}, Face::SansMono, 9);
    first.picture({40, 100, 500, 300}, {1200, 700}, [](Canvas& canvas) {
        const Point corners[] = {{0, 0}, {1200, 700}};
        canvas.path(corners, false, {std::nullopt, Stroke{{200, 0, 0, 128}, 2}});
        canvas.text("Frequency", {600, 690}, TextAnchor::Middle, Font{13, true}, {});
    });
    document.addPage(std::move(first));
    document.addPage(Page({300, 200}));
    document.attach({"list.ASC", "text/plain", FileRelationship::Source, "list", kMoment}, "1,2\n");
    document.attach({"list.ASC", "application/json", FileRelationship::Data, "json", kMoment},
                    "{}");
    document.finish();
    return file;
}

TEST(PdfDocuments, AreWrittenAsDataTheSameEveryTime) {
    std::vector<std::string> footers;
    const std::string file = sampleDocument(0xAB, &footers);
    EXPECT_EQ(crossReferenceFault(file), "");
    EXPECT_EQ(footers, (std::vector<std::string>{"Page 1 of 2", "Page 2 of 2"}));
    EXPECT_EQ(file, sampleDocument(0xAB)) << "the same document twice";
    const std::string other = sampleDocument(0xCD);
    EXPECT_EQ(file.size(), other.size()) << "only the identifier differs";
    EXPECT_EQ(count(file, "<ABABABABABABABABABABABABABABABAB>"), 2U)
        << "the identifier, twice, in the trailer";
    EXPECT_EQ(count(file, "abababab-abab-abab-abab-abababababab"), 2U) << "and in the metadata";
    EXPECT_NE(file.find("/Names [ (list.ASC) "), std::string::npos);
    EXPECT_NE(file.find(" (list.ASC \\(2\\)) "), std::string::npos) << "a name given twice";
    EXPECT_NE(file.find("/Sa80 << /Type /ExtGState /CA 0.502 >>"), std::string::npos)
        << "the half-transparent stroke";
    EXPECT_EQ(count(file, "/Subtype /Type0"), 3U) << "Mono, Bold, and Sans, used by footers alone";
}

// A report's pages are made by the jobs that evaluated its lists: made on threads of their own,
// they give the same document as made one after another.
TEST(PdfDocuments, AreTheSameWhicheverThreadsMadeTheirPages) {
    const auto documentOf = [](bool onThreads) {
        std::vector<Page> pages(12);
        const auto make = [&pages](std::size_t index) {
            Page& page = pages[index];
            page.text("Liste " + std::to_string(index) + " — Größe µ Ω", {40, 60},
                      kFaces[index % 3], 10);
            page.picture({40, 100, 500, 300}, {600, 300}, [index](Canvas& canvas) {
                const Point centres[] = {{10.0 * index, 20}, {300, 150}};
                canvas.marks(centres, MarkShape::Diamond, 4,
                             {Colour{0, 0, 200, static_cast<std::uint8_t>(index * 20)}, {}});
            });
        };
        if (onThreads) {
            std::vector<std::thread> jobs;
            for (std::size_t index = 0; index < pages.size(); ++index) {
                jobs.emplace_back(make, index);
            }
            for (std::thread& job : jobs) {
                job.join();
            }
        } else {
            for (std::size_t index = 0; index < pages.size(); ++index) {
                make(index);
            }
        }
        std::string file;
        Document document([&file](std::string_view bytes) { file += bytes; }, DocumentInfo{});
        for (Page& page : pages) {
            document.addPage(std::move(page));
        }
        document.finish();
        return file;
    };
    EXPECT_EQ(documentOf(true), documentOf(false));
}

TEST(PdfDocuments, RefuseToEndWithoutAPage) {
    Document document([](std::string_view) {}, DocumentInfo{});
    EXPECT_THROW(document.finish(), std::logic_error);
}

}  // namespace
}  // namespace ambersel::testing
