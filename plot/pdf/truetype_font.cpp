#include "plot/pdf/truetype_font.h"

#include <algorithm>
#include <stdexcept>

#include "plot/fonts/shipped_fonts.h"
#include "plot/pdf/big_endian.h"

namespace ambersel::plot::pdf {
namespace {

constexpr std::uint32_t tagOf(std::string_view tag) {
    std::uint32_t value = 0;
    for (const char letter : tag) {
        value = (value << 8) | static_cast<unsigned char>(letter);
    }
    return value;
}

[[noreturn]] void malformed(const char* what) {
    throw std::runtime_error(std::string("malformed TrueType font: ") + what);
}

std::span<const std::byte> subspan(std::span<const std::byte> bytes, std::size_t at,
                                   std::size_t length) {
    if (at > bytes.size() || length > bytes.size() - at) {
        malformed("a table or glyph reaches past its end");
    }
    return bytes.subspan(at, length);
}

// The character map of a format 12 subtable: groups of code points on consecutive glyphs.
void readSegmentedCoverage(std::span<const std::byte> map,
                           std::vector<std::pair<char32_t, GlyphId>>& into) {
    const std::uint32_t groups = readU32(map, 12);
    for (std::uint32_t group = 0; group < groups; ++group) {
        const std::size_t at = 16 + std::size_t{group} * 12;
        const std::uint32_t first = readU32(map, at);
        const std::uint32_t last = std::min<std::uint32_t>(readU32(map, at + 4), 0x10FFFF);
        const std::uint32_t glyph = readU32(map, at + 8);
        for (std::uint32_t codePoint = first; codePoint <= last && first <= last; ++codePoint) {
            into.emplace_back(codePoint, static_cast<GlyphId>(glyph + (codePoint - first)));
        }
    }
}

// The character map of a format 4 subtable: segments of the Basic Multilingual Plane.
void readSegmentMapping(std::span<const std::byte> map,
                        std::vector<std::pair<char32_t, GlyphId>>& into) {
    const std::size_t segments = readU16(map, 6) / 2;
    const std::size_t ends = 14;
    const std::size_t starts = ends + segments * 2 + 2;
    const std::size_t deltas = starts + segments * 2;
    const std::size_t rangeOffsets = deltas + segments * 2;
    for (std::size_t segment = 0; segment < segments; ++segment) {
        const std::uint16_t first = readU16(map, starts + segment * 2);
        const std::uint16_t last = readU16(map, ends + segment * 2);
        const std::uint16_t delta = readU16(map, deltas + segment * 2);
        const std::size_t rangeAt = rangeOffsets + segment * 2;
        const std::uint16_t rangeOffset = readU16(map, rangeAt);
        for (std::uint32_t codePoint = first; codePoint <= last && codePoint != 0xFFFF;
             ++codePoint) {
            std::uint16_t glyph = 0;
            if (rangeOffset == 0) {
                glyph = static_cast<std::uint16_t>(codePoint + delta);
            } else {
                const std::uint16_t stored =
                    readU16(map, rangeAt + rangeOffset + std::size_t{codePoint - first} * 2);
                glyph = stored == 0 ? 0 : static_cast<std::uint16_t>(stored + delta);
            }
            if (glyph != 0) {
                into.emplace_back(codePoint, glyph);
            }
        }
    }
}

}  // namespace

TrueTypeFont::TrueTypeFont(std::span<const std::byte> file) : m_file(file) {
    readTables();
    const std::span<const std::byte> head = table("head");
    const std::span<const std::byte> hhea = table("hhea");
    const std::span<const std::byte> os2 = table("OS/2");
    const std::span<const std::byte> post = table("post");
    m_glyphCount = readU16(table("maxp"), 4);
    m_horizontalMetrics = readU16(hhea, 34);
    if (m_horizontalMetrics == 0 || m_horizontalMetrics > m_glyphCount ||
        table("hmtx").size() < std::size_t{m_horizontalMetrics} * 4 +
                                   (std::size_t{m_glyphCount} - m_horizontalMetrics) * 2) {
        malformed("horizontal metrics do not cover the glyphs");
    }
    m_facts.unitsPerEm = readU16(head, 18);
    m_facts.xMin = readS16(head, 36);
    m_facts.yMin = readS16(head, 38);
    m_facts.xMax = readS16(head, 40);
    m_facts.yMax = readS16(head, 42);
    m_facts.ascent = readS16(hhea, 4);
    m_facts.descent = readS16(hhea, 6);
    m_facts.weight = os2.empty() ? 400 : readU16(os2, 4);
    m_facts.capHeight =
        os2.size() >= 90 && readU16(os2, 0) >= 2 ? readS16(os2, 88) : m_facts.ascent;
    if (!post.empty()) {
        m_facts.italicAngle = static_cast<std::int32_t>(readU32(post, 4)) / 65536.0;
        m_facts.fixedPitch = readU32(post, 12) != 0;
    }
    readCharacterMap();
    readGlyphOffsets();
}

void TrueTypeFont::readTables() {
    const std::uint16_t count = readU16(m_file, 4);
    for (std::uint16_t index = 0; index < count; ++index) {
        const std::size_t record = 12 + std::size_t{index} * 16;
        const std::uint32_t tag = readU32(m_file, record);
        m_tables.emplace_back(
            tag, subspan(m_file, readU32(m_file, record + 8), readU32(m_file, record + 12)));
    }
    std::sort(m_tables.begin(), m_tables.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const char* required : {"head", "hhea", "hmtx", "maxp", "loca", "glyf"}) {
        if (table(required).empty()) {
            malformed("a required table is missing");
        }
    }
}

std::span<const std::byte> TrueTypeFont::table(std::string_view tag) const {
    const std::uint32_t wanted = tagOf(tag);
    const auto found = std::lower_bound(
        m_tables.begin(), m_tables.end(), wanted,
        [](const auto& entry, std::uint32_t value) { return entry.first < value; });
    return found != m_tables.end() && found->first == wanted ? found->second
                                                             : std::span<const std::byte>();
}

void TrueTypeFont::readCharacterMap() {
    const std::span<const std::byte> cmap = table("cmap");
    if (cmap.empty()) {
        return;  // a subset: its glyphs are reached by number
    }
    std::span<const std::byte> bmp;
    std::span<const std::byte> full;
    for (std::uint16_t index = 0, count = readU16(cmap, 2); index < count; ++index) {
        const std::size_t record = 4 + std::size_t{index} * 8;
        const std::uint32_t platformEncoding = readU32(cmap, record);
        const std::span<const std::byte> map =
            cmap.subspan(std::min<std::size_t>(readU32(cmap, record + 4), cmap.size()));
        const std::uint16_t format = readU16(map, 0);
        if (format == 12 && (platformEncoding == 0x0003000A || platformEncoding == 0x00000004)) {
            full = map;
        } else if (format == 4 &&
                   (platformEncoding == 0x00030001 || platformEncoding == 0x00000003)) {
            bmp = map;
        }
    }
    if (!full.empty()) {
        readSegmentedCoverage(full, m_characters);
    } else if (!bmp.empty()) {
        readSegmentMapping(bmp, m_characters);
    } else {
        malformed("no Unicode character map");
    }
    std::sort(m_characters.begin(), m_characters.end());
    m_characters.erase(std::unique(m_characters.begin(), m_characters.end(),
                                   [](const auto& a, const auto& b) { return a.first == b.first; }),
                       m_characters.end());
    std::erase_if(m_characters, [this](const auto& entry) {
        return entry.second == 0 || entry.second >= m_glyphCount;
    });
}

void TrueTypeFont::readGlyphOffsets() {
    const std::span<const std::byte> loca = table("loca");
    const bool longOffsets = readS16(table("head"), 50) == 1;
    m_glyphOffsets.reserve(std::size_t{m_glyphCount} + 1);
    for (std::size_t glyph = 0; glyph <= m_glyphCount; ++glyph) {
        m_glyphOffsets.push_back(longOffsets ? readU32(loca, glyph * 4)
                                             : std::uint32_t{readU16(loca, glyph * 2)} * 2);
    }
    const std::size_t glyphTable = table("glyf").size();
    for (std::size_t glyph = 0; glyph < m_glyphCount; ++glyph) {
        if (m_glyphOffsets[glyph] > m_glyphOffsets[glyph + 1] ||
            m_glyphOffsets[glyph + 1] > glyphTable) {
            malformed("glyph offsets out of order or past the glyph table");
        }
    }
}

GlyphId TrueTypeFont::glyphOf(char32_t codePoint) const {
    const auto found =
        std::lower_bound(m_characters.begin(), m_characters.end(), codePoint,
                         [](const auto& entry, char32_t wanted) { return entry.first < wanted; });
    return found != m_characters.end() && found->first == codePoint ? found->second : 0;
}

std::uint16_t TrueTypeFont::advanceOf(GlyphId glyph) const {
    const GlyphId entry = std::min<GlyphId>(glyph, m_horizontalMetrics - 1);
    return readU16(table("hmtx"), std::size_t{entry} * 4);
}

std::int16_t TrueTypeFont::leftBearingOf(GlyphId glyph) const {
    if (glyph < m_horizontalMetrics) {
        return readS16(table("hmtx"), std::size_t{glyph} * 4 + 2);
    }
    return readS16(table("hmtx"), std::size_t{m_horizontalMetrics} * 4 + std::size_t{glyph} * 2 -
                                      std::size_t{m_horizontalMetrics} * 2);
}

std::span<const std::byte> TrueTypeFont::outlineOf(GlyphId glyph) const {
    if (glyph >= m_glyphCount) {
        return {};
    }
    return table("glyf").subspan(m_glyphOffsets[glyph],
                                 m_glyphOffsets[glyph + 1] - m_glyphOffsets[glyph]);
}

std::vector<GlyphId> TrueTypeFont::componentsOf(GlyphId glyph) const {
    constexpr std::uint16_t kWordArguments = 0x0001;
    constexpr std::uint16_t kScale = 0x0008;
    constexpr std::uint16_t kMoreComponents = 0x0020;
    constexpr std::uint16_t kTwoScales = 0x0040;
    constexpr std::uint16_t kTwoByTwo = 0x0080;
    const std::span<const std::byte> outline = outlineOf(glyph);
    std::vector<GlyphId> components;
    if (outline.empty() || readS16(outline, 0) >= 0) {
        return components;
    }
    std::uint16_t flags = kMoreComponents;
    for (std::size_t at = 10; (flags & kMoreComponents) != 0;) {
        flags = readU16(outline, at);
        components.push_back(readU16(outline, at + 2));
        at += 4 + ((flags & kWordArguments) != 0 ? 4 : 2);
        at += (flags & kScale) != 0       ? 2
              : (flags & kTwoScales) != 0 ? 4
              : (flags & kTwoByTwo) != 0  ? 8
                                          : 0;
    }
    return components;
}

const TrueTypeFont& shippedTrueTypeFont(Face face) {
    switch (face) {
        case Face::SansBold: {
            static const TrueTypeFont bold(shippedFontFile(Face::SansBold));
            return bold;
        }
        case Face::SansMono: {
            static const TrueTypeFont mono(shippedFontFile(Face::SansMono));
            return mono;
        }
        case Face::Sans:
            break;
    }
    static const TrueTypeFont sans(shippedFontFile(Face::Sans));
    return sans;
}

}  // namespace ambersel::plot::pdf
