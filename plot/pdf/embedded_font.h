#pragma once

// The shipped faces as PDF fonts: each a composite (Type0) font over its TrueType outlines, its
// characters two-byte glyph numbers (Identity-H, CIDs equal to glyph numbers), embedded as a
// subset of the glyphs the document uses, with their widths and a ToUnicode map, so that text
// copied, searched or extracted from the document reads as it was written.

#include <string>

#include "plot/pdf/object_writer.h"
#include "plot/pdf/resource_use.h"

namespace ambersel::plot::pdf {

// The resource name of `face` in a page's fonts ("/F0").
std::string fontResourceName(Face face);

// The font's name, its subset tag first ("JKQWZA+DejaVuSans-Bold"): six capital letters that
// depend only on the face and the glyphs used, so that the same text gives the same name.
std::string subsetFontName(Face face, const GlyphUse& used);

// Writes `face`, cut to `used`, as the font object `font` and the objects it refers to.
void writeFont(ObjectWriter& objects, ObjectRef font, Face face, const GlyphUse& used);

// The ToUnicode CMap of `used`: each glyph to the code point it was drawn for.
std::string toUnicodeMap(const GlyphUse& used);

}  // namespace ambersel::plot::pdf
