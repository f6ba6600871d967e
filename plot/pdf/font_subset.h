#pragma once

// A TrueType font cut down to the glyphs a document draws, for embedding in it.

#include <span>
#include <string>

#include "plot/pdf/truetype_font.h"

namespace ambersel::plot::pdf {

// A TrueType file of `font` that holds the outlines of `glyphs`, of the glyphs they are made of,
// and of glyph 0, which every font must have; every other glyph is kept as an empty outline with
// its advance. Each glyph keeps its number, so text encoded by glyph number (as a page's content
// is, before anyone knows which glyphs the whole document uses) needs no change. The tables a PDF
// reader needs are kept (with the hinting programs); the rest are left out.
std::string subsetFont(const TrueTypeFont& font, std::span<const GlyphId> glyphs);

}  // namespace ambersel::plot::pdf
