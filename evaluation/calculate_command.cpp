#include "evaluation/calculate_command.h"

#include <cstdint>

#include "evaluation/list_file.h"
#include "evaluation/test_figure.h"

namespace ambersel {
namespace {

constexpr bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

}  // namespace

std::optional<std::string> utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        if (isHighSurrogate(unit)) {
            if (i + 1 == text.size() || !isLowSurrogate(text[i + 1])) {
                return std::nullopt;
            }
            unit = 0x10000 + ((unit - 0xD800) << 10) + (char32_t{text[++i]} - 0xDC00U);
        } else if (isLowSurrogate(unit)) {
            return std::nullopt;
        }
        appendUtf8(out, unit);
    }
    return out;
}

CalculationOutcome calculateFromPath(const std::filesystem::path& path) {
    ListFileReading reading = readListFile(path);
    // A read error or a change while reading leaves a list that never stood in the file whole; a
    // verdict on it is not one to show.
    if (!reading.opened() || reading.stop.end == ReadingEnd::ReadError ||
        reading.stop.end == ReadingEnd::FileChanged) {
        return CalculationOutcome::openFailure();
    }
    std::u16string line = formatVerdict(evaluateTestFigure(reading.points));
    return CalculationOutcome::withResultLine(std::move(line), std::move(reading.points),
                                              std::move(reading.stop));
}

CalculationOutcome calculateFromFile(std::u16string_view path) {
#if defined(_WIN32)
    // Windows names files in UTF-16 itself: no conversion, so no character is ever replaced.
    return calculateFromPath(std::filesystem::path(std::wstring(path.begin(), path.end())));
#else
    const std::optional<std::string> narrowPath = utf8FromUtf16(path);
    if (!narrowPath) {
        return CalculationOutcome::openFailure();
    }
    return calculateFromPath(std::filesystem::path(*narrowPath));
#endif
}

}  // namespace ambersel
