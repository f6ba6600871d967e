#include "plot/pdf/content_stream.h"

#include <cmath>
#include <numbers>

#include "plot/pdf/embedded_font.h"
#include "plot/pdf/pdf_syntax.h"
#include "text/byte_text.h"

namespace ambersel::plot::pdf {
namespace {

// Operators gather in blocks this large before they are compressed.
constexpr std::size_t kBlock = 1 << 16;
// Hexadecimal digits of glyphs shown by one operator: archival PDF allows strings of at most
// 32767 bytes, and this is 4096 glyphs of two bytes.
constexpr std::size_t kLongestRun = std::size_t{4} * 4096;

bool sameTint(const Colour& a, const Colour& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

}  // namespace

Turn turnOf(double degrees) {
    if (!std::isfinite(degrees)) {
        return {};
    }
    const double quarters = std::round(std::fmod(degrees, 360.0) / 90.0);
    const double x = (std::fmod(degrees, 360.0) - quarters * 90.0) * (std::numbers::pi / 180.0);
    // Taylor series about 0; |x| <= pi/4, where 10 terms reach beyond a double's precision.
    double sine = 0;
    double cosine = 0;
    double term = 1;
    for (int power = 0; power < 20; ++power) {
        if (power % 2 == 0) {
            cosine += power % 4 == 0 ? term : -term;
        } else {
            sine += power % 4 == 1 ? term : -term;
        }
        term = term * x / (power + 1);
    }
    switch ((static_cast<int>(quarters) % 4 + 4) % 4) {
        case 1:
            return {-sine, cosine};
        case 2:
            return {-cosine, -sine};
        case 3:
            return {sine, -cosine};
        default:
            return {cosine, sine};
    }
}

std::string opacityResourceName(std::uint8_t alpha, bool stroking) {
    std::string out = stroking ? "/Sa" : "/Fa";
    appendHex(out, std::string(1, static_cast<char>(alpha)));
    return out;
}

ContentStream::ContentStream() = default;

void ContentStream::append(std::string_view text) {
    m_pending += text;
    if (m_pending.size() >= kBlock) {
        m_deflater.add(m_pending, m_compressed);
        m_pending.clear();
    }
}

void ContentStream::appendNumber(double value, int decimals) {
    pdf::appendNumber(m_pending, value, decimals);
    m_pending += ' ';
}

void ContentStream::appendPoint(Point point) {
    appendNumber(point.x);
    appendNumber(point.y);
}

void ContentStream::save() {
    m_saved.push_back(m_state);
    append("q\n");
}

void ContentStream::restore() {
    if (!m_saved.empty()) {
        m_state = m_saved.back();
        m_saved.pop_back();
        append("Q\n");
    }
}

void ContentStream::transform(double a, double b, double c, double d, double e, double f) {
    for (const double factor : {a, b, c, d}) {
        appendNumber(factor, 6);
    }
    appendNumber(e);
    appendNumber(f);
    append("cm\n");
}

void ContentStream::setColour(const Colour& colour, bool stroking) {
    std::optional<Colour>& current = stroking ? m_state.stroke : m_state.fill;
    if (!current || !sameTint(*current, colour)) {
        for (const std::uint8_t channel : {colour.red, colour.green, colour.blue}) {
            appendNumber(channel / 255.0, 4);
        }
        append(stroking ? "RG\n" : "rg\n");
    }
    if (!current || current->alpha != colour.alpha) {
        (stroking ? m_uses.strokeOpacities : m_uses.fillOpacities).set(colour.alpha);
        append(opacityResourceName(colour.alpha, stroking));
        append(" gs\n");
    }
    current = colour;
}

void ContentStream::fillColour(const Colour& fill) {
    setColour(fill, false);
}

void ContentStream::strokeColour(const Colour& stroke) {
    setColour(stroke, true);
}

void ContentStream::lineWidth(double width) {
    if (m_state.lineWidth != width) {
        appendNumber(width);
        append("w\n");
        m_state.lineWidth = width;
    }
}

void ContentStream::moveTo(Point point) {
    appendPoint(point);
    append("m\n");
}

void ContentStream::lineTo(Point point) {
    appendPoint(point);
    append("l\n");
}

void ContentStream::curveTo(Point first, Point second, Point end) {
    appendPoint(first);
    appendPoint(second);
    appendPoint(end);
    append("c\n");
}

void ContentStream::closePath() {
    append("h\n");
}

void ContentStream::rectangle(const Rect& rect) {
    appendPoint({rect.left, rect.top});
    appendNumber(rect.width);
    appendNumber(rect.height);
    append("re\n");
}

void ContentStream::paint(bool fill, bool stroke) {
    append(fill ? (stroke ? "B\n" : "f\n") : (stroke ? "S\n" : "n\n"));
}

void ContentStream::clipToPath() {
    append("W n\n");
}

void ContentStream::glyphRun(const std::string& glyphs) {
    if (!glyphs.empty()) {
        append("<");
        append(glyphs);
        append("> Tj\n");
    }
}

void ContentStream::text(std::string_view utf8, Face face, double size, Point start,
                         double degrees) {
    const std::u32string codePoints = drawnCodePoints(utf8);
    if (codePoints.empty()) {
        return;
    }
    const TrueTypeFont& font = shippedTrueTypeFont(face);
    GlyphUse& use = m_uses.faces[indexOf(face)];
    const Turn turn = turnOf(degrees);
    append("BT\n");
    append(fontResourceName(face));
    append(" ");
    appendNumber(size);
    append("Tf\n");
    // Glyph space grows upwards, the page's user space downwards: the text matrix turns it over.
    for (const double factor : {turn.cosine, turn.sine, turn.sine, -turn.cosine}) {
        appendNumber(factor, 6);
    }
    appendPoint(start);
    append("Tm\n");
    std::string run;
    for (const char32_t codePoint : codePoints) {
        const GlyphId glyph = font.glyphOf(codePoint);
        if (glyph != 0) {
            use.note(glyph, codePoint);
            appendUtf16Hex(run, glyph);
            if (run.size() == kLongestRun) {
                glyphRun(run);
                run.clear();
            }
            continue;
        }
        glyphRun(run);
        run.clear();
        const GlyphId replacement = font.glyphOf(kReplacementCharacter);
        use.note(replacement, kReplacementCharacter);
        const double width = font.advanceOf(replacement) * 1000.0 / font.facts().unitsPerEm;
        std::string actual = "/Span << /ActualText <FEFF";
        appendUtf16Hex(actual, codePoint);
        actual += "> >> BDC\n[<";
        appendUtf16Hex(actual, replacement);
        actual += "> ";
        pdf::appendNumber(actual, width - 1000.0, 8);
        actual += "] TJ\nEMC\n";
        append(actual);
    }
    glyphRun(run);
    append("ET\n");
}

void ContentStream::operators(std::string_view text) {
    append(text);
}

FinishedContent ContentStream::finish() {
    m_deflater.add(m_pending, m_compressed);
    m_pending.clear();
    m_deflater.finish(m_compressed);
    return {std::move(m_compressed), std::move(m_uses)};
}

}  // namespace ambersel::plot::pdf
