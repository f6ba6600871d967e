#include "tests/support/scan_format_reference.h"

#include <algorithm>
#include <stdexcept>

#include "tests/support/text_stream.h"

namespace ambersel::support {
namespace {

constexpr bool isCWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Where reading stops when the last complete item ends at `itemsEnd`.
ReadingStop stopAfter(std::string_view text, std::size_t itemsEnd) {
    std::size_t itemStart = itemsEnd;
    while (itemStart < text.size() && isCWhiteSpace(text[itemStart])) {
        ++itemStart;
    }
    ReadingStop stop;
    if (itemStart == text.size()) {
        return stop;
    }
    stop.end = ReadingEnd::MalformedItem;
    stop.line =
        1 + static_cast<std::uint64_t>(std::count(text.begin(), text.begin() + itemStart, '\n'));
    const std::string_view rest = text.substr(itemStart, ReadingStop::kExcerptLength);
    stop.excerpt = rest.substr(0, rest.find_first_of("\r\n"));
    return stop;
}

}  // namespace

FrequencyLevelList readWithScanFormat(std::FILE* file, long* itemsEnd) {
    FrequencyLevelList points;
    float frequency = 0;
    float level = 0;
    if (itemsEnd != nullptr) {
        *itemsEnd = 0;
    }
    // NOLINTNEXTLINE(cert-err34-c): the conversion's own result is what the reader must match.
    while (std::fscanf(file, "%f,%f\n", &frequency, &level) > 1) {
        points.push_back({frequency, level});
        if (itemsEnd != nullptr) {
            *itemsEnd = std::ftell(file);
        }
    }
    return points;
}

ScanFormatReading readTextWithScanFormat(std::string_view text) {
    const TextStream stream(text);
    ScanFormatReading reading;
    long itemsEnd = 0;
    reading.points = readWithScanFormat(stream.get(), &itemsEnd);
    if (itemsEnd < 0) {
        throw std::runtime_error("the stream cannot tell its position");
    }
    reading.stop = stopAfter(text, static_cast<std::size_t>(itemsEnd));
    return reading;
}

}  // namespace ambersel::support
