#include "evaluation/frequency_level_list.h"

#include <algorithm>

#include "evaluation/byte_stream.h"
#include "evaluation/number_scanner.h"
#include "evaluation/storage_advice.h"

namespace ambersel {
namespace {

static_assert(ReadingStop::kExcerptLength <= ByteStream::kLongestExcerpt);

// White space as the "C" locale's isspace() knows it: the blank, and tab, line feed, vertical
// tab, form feed and carriage return, which are consecutive.
constexpr bool isWhiteSpace(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Skips white space, counting the line ends it passes.
void skipWhiteSpace(ByteStream& in, std::uint64_t& lineEnds) {
    for (int c = in.peek(); isWhiteSpace(c); c = in.peek()) {
        lineEnds += c == '\n' ? 1 : 0;
        in.advance();
    }
}

// Makes room for the next point of a full list. Once enough of a file of known size has been
// read to judge how densely it holds points, the list grows at once to what the whole file
// promises, with a little to spare, so that its memory is written once instead of being copied
// from block to block; a promise that falls short, or an unknown size, leaves the usual doubling.
void growForNextPoint(FrequencyLevelList& list, std::uint64_t bytesRead, std::uint64_t fileSize) {
    constexpr std::uint64_t kBytesToJudge = std::uint64_t{64} * 1024;
    if (fileSize == 0 || bytesRead < kBytesToJudge || bytesRead >= fileSize) {
        return;
    }
    const double pointsPerByte = static_cast<double>(list.size()) / static_cast<double>(bytesRead);
    constexpr double kSpare = 1.05;
    const double promised = pointsPerByte * static_cast<double>(fileSize) * kSpare;
    const double atLeast = static_cast<double>(list.size()) * 1.5 + 16;
    const double limit = static_cast<double>(list.max_size());
    list.reserve(static_cast<std::size_t>(std::min(std::max(promised, atLeast), limit)));
    adviseLongStorage(list);
}

// One item: a number, a comma directly after it, optional white space, a number.
bool scanItem(ByteStream& in, std::uint64_t& lineEnds, FrequencyLevelPoint& point) {
    if (!scanNumber(in, point.frequency) || in.peek() != ',') {
        return false;
    }
    in.advance();
    skipWhiteSpace(in, lineEnds);
    return scanNumber(in, point.level);
}

// Every item of `in`, up to the end, the first malformed item or a read error.
ReadingStop scanItems(ByteStream& in, FrequencyLevelList& list, std::uint64_t fileSize) {
    std::uint64_t lineEnds = 0;
    ReadingStop stop;
    for (;;) {
        skipWhiteSpace(in, lineEnds);
        if (in.peek() == ByteStream::kEnd) {
            break;
        }
        in.markItemStart();
        const std::uint64_t itemLine = lineEnds + 1;
        FrequencyLevelPoint point;
        if (!scanItem(in, lineEnds, point)) {
            stop.end = ReadingEnd::MalformedItem;
            stop.line = itemLine;
            if (!in.readFailed()) {
                stop.excerpt = in.itemExcerpt(ReadingStop::kExcerptLength);
            }
            break;
        }
        if (list.size() == list.capacity()) {
            growForNextPoint(list, in.offset(), fileSize);
        }
        list.push_back(point);
    }
    if (in.readFailed()) {
        return ReadingStop{ReadingEnd::ReadError, 0, {}};
    }
    return stop;
}

}  // namespace

ReadingStop scanFrequencyLevelList(std::FILE* file, FrequencyLevelList& list,
                                   const ReadingOptions& options) {
    ByteStream in(file, options.bufferSize, options.contents);
    ReadingStop stop = scanItems(in, list, options.fileSize);
    // A read error from here on cuts only the contents short, not the list.
    if (stop.end != ReadingEnd::ReadError && options.contents != nullptr) {
        in.drain(options.fileSize);
    }
    return stop;
}

ReadingStop scanFrequencyLevelList(std::span<const char> bytes, FrequencyLevelList& list) {
    ByteStream in(bytes);
    return scanItems(in, list, bytes.size());
}

void readFrequencyLevelList(std::FILE* file, FrequencyLevelList& list) {
    scanFrequencyLevelList(file, list);
}

}  // namespace ambersel
