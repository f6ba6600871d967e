#include "plot/canvas/font_metrics.h"

#include <algorithm>
#include <cstdint>

#include "plot/canvas/font_metrics_table.h"
#include "text/byte_text.h"

namespace ambersel::plot {
namespace {

const fonts::FaceMetrics& faceOf(const Font& font) {
    return font.bold ? fonts::kDejaVuSansBold : fonts::kDejaVuSans;
}

// In font units.
int advanceOf(const fonts::FaceMetrics& face, char32_t codePoint) {
    const auto run = std::upper_bound(face.runs.begin(), face.runs.end(), codePoint,
                                      [](char32_t wanted, const fonts::AdvanceRun& candidate) {
                                          return wanted < candidate.first;
                                      });
    if (run == face.runs.begin() || codePoint > std::prev(run)->last) {
        return face.unitsPerEm;
    }
    const std::uint16_t advance =
        face.advances[std::prev(run)->offset + (codePoint - std::prev(run)->first)];
    return advance == fonts::kNotInFace ? face.unitsPerEm : advance;
}

}  // namespace

LineMetrics lineMetrics(const Font& font) {
    const fonts::FaceMetrics& face = faceOf(font);
    const double scale = font.pixelSize / face.unitsPerEm;
    return {face.ascent * scale, face.descent * scale,
            (face.ascent + face.descent + face.lineGap) * scale};
}

TextExtent textExtent(std::string_view utf8, const Font& font) {
    const fonts::FaceMetrics& face = faceOf(font);
    // Added up in font units, exactly, so that the width does not depend on the order of sums.
    long long units = 0;
    for (const char32_t codePoint : drawnCodePoints(utf8)) {
        units += advanceOf(face, codePoint);
    }
    return {static_cast<double>(units) * font.pixelSize / face.unitsPerEm,
            lineMetrics(font).height};
}

double baselineBelowMiddle(const Font& font) {
    const LineMetrics line = lineMetrics(font);
    return (line.ascent - line.descent) / 2;
}

}  // namespace ambersel::plot
