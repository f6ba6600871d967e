#include "plot/pdf/embedded_font.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "plot/pdf/deflate.h"
#include "plot/pdf/font_subset.h"
#include "plot/pdf/pdf_syntax.h"

namespace ambersel::plot::pdf {
namespace {

// ToUnicode maps hold at most this many entries per block.
constexpr std::size_t kCMapBlock = 100;

std::string_view postscriptNameOf(Face face) {
    switch (face) {
        case Face::SansBold:
            return "DejaVuSans-Bold";
        case Face::SansMono:
            return "DejaVuSansMono";
        case Face::Sans:
            break;
    }
    return "DejaVuSans";
}

std::string hexGlyph(GlyphId glyph) {
    std::string out = "<";
    appendUtf16Hex(out, glyph);
    out += '>';
    return out;
}

// In thousandths of an em, as PDF glyph space measures.
double thousandths(const TrueTypeFont& font, int fontUnits) {
    return fontUnits * 1000.0 / font.facts().unitsPerEm;
}

// "[3 [600.5 612] 36 [700]]": runs of consecutive glyphs with their widths.
std::string widthsOf(const TrueTypeFont& font, const GlyphUse& used) {
    std::string out = "[";
    GlyphId next = 0;
    bool open = false;
    for (const auto& [glyph, codePoint] : used.glyphs()) {
        if (!open || glyph != next) {
            out += open ? "] " : "";
            out += std::to_string(glyph);
            out += " [";
            open = true;
        } else {
            out += ' ';
        }
        appendNumber(out, thousandths(font, font.advanceOf(glyph)), 8);
        next = static_cast<GlyphId>(glyph + 1);
    }
    out += open ? "]]" : "]";
    return out;
}

std::string descriptorOf(Face face, const std::string& fontName, ObjectRef fontFile) {
    const TrueTypeFont& font = shippedTrueTypeFont(face);
    const FaceFacts& facts = font.facts();
    // The usual estimate of the dominant stem's width from the weight; readers use it only to
    // imitate the face when they cannot read the embedded one.
    const double boldness = (facts.weight - 50) / 900.0;
    const double stem = std::round(10 + 220 * boldness * boldness);
    std::string out = "<< /Type /FontDescriptor /FontName " + name(fontName);
    out += " /Flags " + std::to_string(facts.fixedPitch ? 5 : 4) + " /FontBBox [";
    for (const int corner : {facts.xMin, facts.yMin, facts.xMax, facts.yMax}) {
        appendNumber(out, std::round(thousandths(font, corner)), 0);
        out += ' ';
    }
    out.back() = ']';
    out += " /ItalicAngle " + number(facts.italicAngle, 2);
    out += " /Ascent " + number(std::round(thousandths(font, facts.ascent)), 0);
    out += " /Descent " + number(std::round(thousandths(font, facts.descent)), 0);
    out += " /CapHeight " + number(std::round(thousandths(font, facts.capHeight)), 0);
    out += " /StemV " + number(stem, 0) + " /FontFile2 " + reference(fontFile) + " >>";
    return out;
}

}  // namespace

std::string fontResourceName(Face face) {
    return "/F" + std::to_string(indexOf(face));
}

std::string subsetFontName(Face face, const GlyphUse& used) {
    // FNV-1a over the face and the glyph numbers.
    std::uint64_t hash = 14695981039346656037ULL;
    const auto mix = [&hash](std::uint64_t value) {
        hash ^= value;
        hash *= 1099511628211ULL;
    };
    mix(indexOf(face));
    for (const auto& [glyph, codePoint] : used.glyphs()) {
        mix(glyph >> 8);
        mix(glyph & 0xFF);
    }
    std::string tag;
    for (int letter = 0; letter < 6; ++letter) {
        tag += static_cast<char>('A' + hash % 26);
        hash /= 26;
    }
    return tag + "+" + std::string(postscriptNameOf(face));
}

std::string toUnicodeMap(const GlyphUse& used) {
    std::string out =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    const auto& glyphs = used.glyphs();
    auto entry = glyphs.begin();
    for (std::size_t left = glyphs.size(); left > 0;) {
        const std::size_t block = std::min(left, kCMapBlock);
        out += std::to_string(block) + " beginbfchar\n";
        for (std::size_t index = 0; index < block; ++index, ++entry) {
            out += hexGlyph(entry->first) + " <";
            appendUtf16Hex(out, entry->second);
            out += ">\n";
        }
        out += "endbfchar\n";
        left -= block;
    }
    out += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return out;
}

void writeFont(ObjectWriter& objects, ObjectRef font, Face face, const GlyphUse& used) {
    const TrueTypeFont& trueType = shippedTrueTypeFont(face);
    const std::string fontName = subsetFontName(face, used);
    std::vector<GlyphId> glyphs;
    for (const auto& [glyph, codePoint] : used.glyphs()) {
        glyphs.push_back(glyph);
    }
    const std::string subset = subsetFont(trueType, glyphs);
    const ObjectRef fontFile = objects.stream(
        "/Filter /FlateDecode /Length1 " + std::to_string(subset.size()), deflated(subset));
    const ObjectRef descriptor = objects.object(descriptorOf(face, fontName, fontFile));
    const ObjectRef cidFont = objects.object(
        "<< /Type /Font /Subtype /CIDFontType2 /BaseFont " + name(fontName) +
        " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
        " /FontDescriptor " +
        reference(descriptor) + " /W " + widthsOf(trueType, used) + " /CIDToGIDMap /Identity >>");
    const ObjectRef toUnicode =
        objects.stream("/Filter /FlateDecode", deflated(toUnicodeMap(used)));
    objects.object(font, "<< /Type /Font /Subtype /Type0 /BaseFont " + name(fontName) +
                             " /Encoding /Identity-H /DescendantFonts [" + reference(cidFont) +
                             "] /ToUnicode " + reference(toUnicode) + " >>");
}

}  // namespace ambersel::plot::pdf
