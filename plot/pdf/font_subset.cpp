#include "plot/pdf/font_subset.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "plot/pdf/big_endian.h"

namespace ambersel::plot::pdf {
namespace {

std::string copyOf(std::span<const std::byte> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The sum of the big-endian 32-bit words of `bytes`, the last one padded with zeros.
std::uint32_t checksumOf(std::string_view bytes) {
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 4) {
        std::uint32_t word = 0;
        for (std::size_t byte = 0; byte < 4; ++byte) {
            const std::size_t index = at + byte;
            word = (word << 8) |
                   (index < bytes.size() ? static_cast<unsigned char>(bytes[index]) : 0U);
        }
        sum += word;
    }
    return sum;
}

// `glyphs`, the glyphs they are made of, and glyph 0.
std::set<GlyphId> closureOf(const TrueTypeFont& font, std::span<const GlyphId> glyphs) {
    std::set<GlyphId> kept{0};
    std::vector<GlyphId> waiting(glyphs.begin(), glyphs.end());
    while (!waiting.empty()) {
        const GlyphId glyph = waiting.back();
        waiting.pop_back();
        if (glyph < font.glyphCount() && kept.insert(glyph).second) {
            const std::vector<GlyphId> parts = font.componentsOf(glyph);
            waiting.insert(waiting.end(), parts.begin(), parts.end());
        }
    }
    return kept;
}

// The font's tables for `kept`, glyphs 0 to the last kept: glyf, loca (long offsets), hmtx, and
// head, hhea and maxp saying so.
std::vector<std::pair<std::string_view, std::string>> glyphTables(const TrueTypeFont& font,
                                                                  const std::set<GlyphId>& kept) {
    const std::size_t count = std::size_t{*kept.rbegin()} + 1;
    std::string glyf;
    std::string loca;
    std::string hmtx;
    for (std::size_t glyph = 0; glyph < count; ++glyph) {
        const auto id = static_cast<GlyphId>(glyph);
        appendU32(loca, static_cast<std::uint32_t>(glyf.size()));
        if (kept.contains(id)) {
            glyf += copyOf(font.outlineOf(id));
            glyf.append((4 - glyf.size() % 4) % 4, '\0');
        }
        appendU16(hmtx, font.advanceOf(id));
        appendU16(hmtx, static_cast<std::uint16_t>(font.leftBearingOf(id)));
    }
    appendU32(loca, static_cast<std::uint32_t>(glyf.size()));
    std::string head = copyOf(font.table("head"));
    putU32(head, 8, 0);   // the whole file's checksum adjustment, set last
    putU16(head, 50, 1);  // long glyph offsets
    std::string hhea = copyOf(font.table("hhea"));
    putU16(hhea, 34, static_cast<std::uint32_t>(count));
    std::string maxp = copyOf(font.table("maxp"));
    putU16(maxp, 4, static_cast<std::uint32_t>(count));
    return {{"glyf", std::move(glyf)}, {"head", std::move(head)}, {"hhea", std::move(hhea)},
            {"hmtx", std::move(hmtx)}, {"loca", std::move(loca)}, {"maxp", std::move(maxp)}};
}

// An sfnt file of `tables`, sorted by tag, each on a four-byte boundary.
std::string sfntOf(std::vector<std::pair<std::string_view, std::string>> tables) {
    std::sort(tables.begin(), tables.end());
    const auto count = static_cast<std::uint32_t>(tables.size());
    std::uint32_t power = 1;
    std::uint32_t log = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log;
    }
    std::string file;
    appendU32(file, 0x00010000);
    appendU16(file, count);
    appendU16(file, power * 16);
    appendU16(file, log);
    appendU16(file, count * 16 - power * 16);
    std::size_t offset = file.size() + tables.size() * 16;
    for (const auto& [tag, data] : tables) {
        file += tag;
        appendU32(file, checksumOf(data));
        appendU32(file, static_cast<std::uint32_t>(offset));
        appendU32(file, static_cast<std::uint32_t>(data.size()));
        offset += (data.size() + 3) / 4 * 4;
    }
    std::size_t head = 0;
    for (const auto& [tag, data] : tables) {
        if (tag == "head") {
            head = file.size();
        }
        file += data;
        file.append((4 - data.size() % 4) % 4, '\0');
    }
    putU32(file, head + 8, 0xB1B0AFBA - checksumOf(file));
    return file;
}

}  // namespace

std::string subsetFont(const TrueTypeFont& font, std::span<const GlyphId> glyphs) {
    std::vector<std::pair<std::string_view, std::string>> tables =
        glyphTables(font, closureOf(font, glyphs));
    for (const std::string_view hinting : {"cvt ", "fpgm", "prep"}) {
        const std::span<const std::byte> table = font.table(hinting);
        if (!table.empty()) {
            tables.emplace_back(hinting, copyOf(table));
        }
    }
    return sfntOf(std::move(tables));
}

}  // namespace ambersel::plot::pdf
