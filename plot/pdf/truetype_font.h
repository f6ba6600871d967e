#pragma once

// A TrueType font file, read as far as a PDF needs it: its tables, the glyph of each code point,
// the glyphs' advances and outlines, and the facts a font descriptor states. It views the file,
// which must outlive it; the shipped faces live as long as the process.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "plot/canvas/font_metrics.h"

namespace ambersel::plot::pdf {

using GlyphId = std::uint16_t;

// In font units, y growing upwards, as the font states them.
struct FaceFacts {
    int unitsPerEm = 0;
    int xMin = 0;
    int yMin = 0;
    int xMax = 0;
    int yMax = 0;
    int ascent = 0;
    int descent = 0;  // below the baseline: negative
    int capHeight = 0;
    int weight = 400;         // 100 to 900
    double italicAngle = 0;   // degrees, counter-clockwise from upright
    bool fixedPitch = false;  // every glyph as wide as the next
};

class TrueTypeFont {
  public:
    // Throws std::runtime_error when `file` is not a TrueType font this reader knows: tables cut
    // short, a character map without a Unicode part, glyphs beyond their table. A font without
    // a character map (a subset for a PDF) has glyphs for no code point.
    explicit TrueTypeFont(std::span<const std::byte> file);

    // The table of `tag` ("glyf"), empty when the font has none.
    std::span<const std::byte> table(std::string_view tag) const;

    GlyphId glyphCount() const { return m_glyphCount; }
    const FaceFacts& facts() const { return m_facts; }
    // The glyph the font draws `codePoint` with; 0 (.notdef) when it has none.
    GlyphId glyphOf(char32_t codePoint) const;
    // The code points the font has glyphs for, increasing, each with its glyph.
    const std::vector<std::pair<char32_t, GlyphId>>& characterMap() const { return m_characters; }
    // Advance and left side bearing, in font units.
    std::uint16_t advanceOf(GlyphId glyph) const;
    std::int16_t leftBearingOf(GlyphId glyph) const;
    // The glyph's outline as stored; empty for a glyph without one (a space).
    std::span<const std::byte> outlineOf(GlyphId glyph) const;
    // The glyphs a composite glyph is made of; none for a simple one.
    std::vector<GlyphId> componentsOf(GlyphId glyph) const;

  private:
    void readTables();
    void readCharacterMap();
    void readGlyphOffsets();

    std::span<const std::byte> m_file;
    std::vector<std::pair<std::uint32_t, std::span<const std::byte>>> m_tables;  // by tag
    std::vector<std::pair<char32_t, GlyphId>> m_characters;
    std::vector<std::uint32_t> m_glyphOffsets;  // into glyf, glyphCount + 1
    GlyphId m_glyphCount = 0;
    std::uint16_t m_horizontalMetrics = 0;
    FaceFacts m_facts;
};

// The shipped file of `face`, read once for the process (thread-safe).
const TrueTypeFont& shippedTrueTypeFont(Face face);

}  // namespace ambersel::plot::pdf
