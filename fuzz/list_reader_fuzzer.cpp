// The list reader on arbitrary bytes, checked against the C library's own "%f,%f\n" loop in the
// "C" locale: the same points to the bit, the same place where reading stopped, the same result
// whatever the read buffer's size, and never more points than the bytes allow.

#include <array>
#include <bit>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "evaluation/frequency_level_list.h"
#include "fuzz/fuzz_support.h"

namespace {

using ambersel::FrequencyLevelList;
using ambersel::FrequencyLevelPoint;
using ambersel::ReadingEnd;
using ambersel::ReadingStop;
using ambersel::fuzz::MemoryStream;
using ambersel::fuzz::require;

// Buffer sizes that make items straddle refills at every offset, and the reader's own default.
constexpr std::array<std::size_t, 4> kBufferSizes = {1, 3, ReadingStop::kExcerptLength + 1, 0};

struct Reading {
    FrequencyLevelList points;
    ReadingStop stop;
};

constexpr bool isCWhiteSpace(std::uint8_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// What the C library reads, and where the item that ended its loop begins.
Reading readWithScanf(std::span<const std::uint8_t> bytes) {
    const MemoryStream stream(bytes);
    Reading reading;
    long consumed = 0;
    float frequency = 0;
    float level = 0;
    // NOLINTNEXTLINE(cert-err34-c): the conversion result is exactly what is compared.
    while (std::fscanf(stream.get(), "%f,%f\n", &frequency, &level) == 2) {
        reading.points.push_back({frequency, level});
        consumed = std::ftell(stream.get());
        require(consumed >= 0, "ftell reports the position");
    }

    auto itemStart = static_cast<std::size_t>(consumed);
    while (itemStart < bytes.size() && isCWhiteSpace(bytes[itemStart])) {
        ++itemStart;
    }
    if (itemStart == bytes.size()) {
        reading.stop.end = ReadingEnd::EndOfFile;
        return reading;
    }
    reading.stop.end = ReadingEnd::MalformedItem;
    reading.stop.line = 1;
    for (std::size_t i = 0; i < itemStart; ++i) {
        reading.stop.line += bytes[i] == '\n' ? 1 : 0;
    }
    const std::size_t excerptEnd = std::min(bytes.size(), itemStart + ReadingStop::kExcerptLength);
    for (std::size_t i = itemStart; i < excerptEnd && bytes[i] != '\r' && bytes[i] != '\n'; ++i) {
        reading.stop.excerpt.push_back(static_cast<char>(bytes[i]));
    }
    return reading;
}

Reading readWithReader(std::span<const std::uint8_t> bytes, std::size_t bufferSize) {
    const MemoryStream stream(bytes);
    Reading reading;
    reading.stop = bufferSize == 0 ? ambersel::scanFrequencyLevelList(stream.get(), reading.points)
                                   : ambersel::detail::scanFrequencyLevelList(
                                         stream.get(), reading.points, bufferSize);
    return reading;
}

bool sameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool samePoints(const FrequencyLevelList& a, const FrequencyLevelList& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!sameBits(a[i].frequency, b[i].frequency) || !sameBits(a[i].level, b[i].level)) {
            return false;
        }
    }
    return true;
}

bool sameStop(const ReadingStop& a, const ReadingStop& b) {
    return a.end == b.end && a.line == b.line && a.excerpt == b.excerpt;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    std::setlocale(LC_ALL, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const Reading expected = readWithScanf(bytes);

    // The shortest item, "1,2", has 3 bytes and each further one at least 4 ("-1,2").
    require(expected.points.size() <= (size + 1) / 4, "at most one point per four bytes");

    for (const std::size_t bufferSize : kBufferSizes) {
        const Reading actual = readWithReader(bytes, bufferSize);
        require(samePoints(actual.points, expected.points), "the points fscanf reads");
        require(sameStop(actual.stop, expected.stop), "the stop where fscanf stops");
    }

    const MemoryStream stream(bytes);
    FrequencyLevelList points;
    ambersel::readFrequencyLevelList(stream.get(), points);
    require(samePoints(points, expected.points), "the plain reading gives the same points");
    return 0;
}
