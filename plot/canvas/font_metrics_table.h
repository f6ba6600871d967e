#pragma once

// The metrics of the shipped faces, as scripts/make-font-metrics reads them from their TrueType
// files: what plot/canvas/font_metrics.h measures text with.

#include <cstdint>
#include <span>

namespace ambersel::plot::fonts {

inline constexpr std::uint16_t kNotInFace = 0xFFFF;

// The code points `first` to `last`, their advances from `offset` on in the face's advances.
struct AdvanceRun {
    char32_t first = 0;
    char32_t last = 0;
    std::uint32_t offset = 0;
};

// Lengths in font units, unitsPerEm to the em.
struct FaceMetrics {
    int unitsPerEm = 0;
    int ascent = 0;   // above the baseline
    int descent = 0;  // below it, positive
    int lineGap = 0;
    std::span<const AdvanceRun> runs;         // increasing, apart
    std::span<const std::uint16_t> advances;  // kNotInFace: the face has no glyph for it
};

extern const FaceMetrics kDejaVuSans;
extern const FaceMetrics kDejaVuSansBold;
extern const FaceMetrics kDejaVuSansMono;

}  // namespace ambersel::plot::fonts
