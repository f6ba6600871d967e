#include "plot/canvas/font_metrics.h"

#include <algorithm>
#include <cstdint>

#include "plot/canvas/font_metrics_table.h"
#include "text/byte_text.h"

namespace ambersel::plot {
namespace {

const fonts::FaceMetrics& metricsOf(Face face) {
    switch (face) {
        case Face::SansBold:
            return fonts::kDejaVuSansBold;
        case Face::SansMono:
            return fonts::kDejaVuSansMono;
        case Face::Sans:
            break;
    }
    return fonts::kDejaVuSans;
}

// In font units; kNotInFace where the face has no glyph.
std::uint16_t tabledAdvance(const fonts::FaceMetrics& face, char32_t codePoint) {
    const auto run = std::upper_bound(face.runs.begin(), face.runs.end(), codePoint,
                                      [](char32_t wanted, const fonts::AdvanceRun& candidate) {
                                          return wanted < candidate.first;
                                      });
    if (run == face.runs.begin() || codePoint > std::prev(run)->last) {
        return fonts::kNotInFace;
    }
    return face.advances[std::prev(run)->offset + (codePoint - std::prev(run)->first)];
}

// In font units.
int advanceOf(const fonts::FaceMetrics& face, char32_t codePoint) {
    const std::uint16_t advance = tabledAdvance(face, codePoint);
    return advance == fonts::kNotInFace ? face.unitsPerEm : advance;
}

}  // namespace

LineMetrics lineMetrics(const Font& font) {
    return lineMetrics(faceOf(font), font.pixelSize);
}

TextExtent textExtent(std::string_view utf8, const Font& font) {
    return textExtent(utf8, faceOf(font), font.pixelSize);
}

LineMetrics lineMetrics(Face face, double size) {
    const fonts::FaceMetrics& metrics = metricsOf(face);
    const double scale = size / metrics.unitsPerEm;
    return {metrics.ascent * scale, metrics.descent * scale,
            (metrics.ascent + metrics.descent + metrics.lineGap) * scale};
}

TextExtent textExtent(std::string_view utf8, Face face, double size) {
    const fonts::FaceMetrics& metrics = metricsOf(face);
    // Added up in font units, exactly, so that the width does not depend on the order of sums.
    long long units = 0;
    for (const char32_t codePoint : drawnCodePoints(utf8)) {
        units += advanceOf(metrics, codePoint);
    }
    return {static_cast<double>(units) * size / metrics.unitsPerEm, lineMetrics(face, size).height};
}

bool faceHasGlyph(Face face, char32_t codePoint) {
    return tabledAdvance(metricsOf(face), codePoint) != fonts::kNotInFace;
}

double baselineBelowMiddle(const Font& font) {
    const LineMetrics line = lineMetrics(font);
    return (line.ascent - line.descent) / 2;
}

}  // namespace ambersel::plot
