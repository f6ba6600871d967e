#pragma once

// What a page's content uses of the document's shared resources: the glyphs of each face (for the
// fonts' subsets, widths and ToUnicode maps) and the opacities (for the graphics states). Noted by
// whoever makes the content, on any thread, and gathered by the document as pages are added.

#include <array>
#include <bitset>
#include <cstdint>
#include <map>

#include "plot/canvas/font_metrics.h"
#include "plot/pdf/truetype_font.h"

namespace ambersel::plot::pdf {

inline constexpr std::size_t kFaceCount = 3;

constexpr std::size_t indexOf(Face face) {
    return static_cast<std::size_t>(face);
}

// The glyphs of one face that text uses, each with the code point it was first drawn for (where
// several code points share a glyph, the text taken from it is the first).
class GlyphUse {
  public:
    void note(GlyphId glyph, char32_t codePoint) { m_glyphs.try_emplace(glyph, codePoint); }
    void merge(const GlyphUse& other) {
        m_glyphs.insert(other.m_glyphs.begin(), other.m_glyphs.end());
    }
    bool empty() const { return m_glyphs.empty(); }
    const std::map<GlyphId, char32_t>& glyphs() const { return m_glyphs; }

  private:
    std::map<GlyphId, char32_t> m_glyphs;
};

struct ResourceUse {
    std::array<GlyphUse, kFaceCount> faces;
    // By alpha (0 to 255): fill and stroke opacities other than 255.
    std::bitset<256> fillOpacities;
    std::bitset<256> strokeOpacities;

    void merge(const ResourceUse& other) {
        for (std::size_t face = 0; face < kFaceCount; ++face) {
            faces[face].merge(other.faces[face]);
        }
        fillOpacities |= other.fillOpacities;
        strokeOpacities |= other.strokeOpacities;
    }
};

}  // namespace ambersel::plot::pdf
