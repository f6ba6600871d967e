// The list reader on arbitrary bytes, checked against the C library's own "%f,%f\n" loop in the
// "C" locale: the same points to the bit, the same place where reading stopped, the same result
// whatever the read buffer's size, and never more points than the bytes allow; a contents sink
// takes every byte, however early the list ends.

#include <array>
#include <bit>
#include <clocale>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "evaluation/frequency_level_list.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/scan_format_reference.h"
#include "tests/support/text_stream.h"

namespace {

using ambersel::FrequencyLevelList;
using ambersel::ReadingOptions;
using ambersel::ReadingStop;
using ambersel::fuzz::require;

// Buffer sizes that make items straddle refills at every offset, and the reader's own default;
// those at even places read with the sink that a record hashes through.
constexpr std::array<std::size_t, 4> kBufferSizes = {1, 3, ReadingOptions{}.bufferSize,
                                                     ReadingStop::kExcerptLength + 1};

bool samePoints(const FrequencyLevelList& a, const FrequencyLevelList& b) {
    const auto sameBits = [](float x, float y) {
        return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y);
    };
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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    std::setlocale(LC_ALL, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ambersel::support::ScanFormatReading expected =
        ambersel::support::readTextWithScanFormat(text);

    // The shortest item, "1,2", has 3 bytes and each further one at least 4 ("-1,2").
    require(expected.points.size() <= (size + 1) / 4, "at most one point per four bytes");

    for (std::size_t place = 0; place < kBufferSizes.size(); ++place) {
        const ambersel::support::TextStream stream(text);
        FrequencyLevelList points;
        std::string taken;
        const ambersel::ContentSink take = [&taken](std::span<const unsigned char> bytes) {
            taken.append(bytes.begin(), bytes.end());
        };
        ReadingOptions options;
        options.bufferSize = kBufferSizes[place];
        options.fileSize = size;
        options.contents = place % 2 == 0 ? &take : nullptr;
        const ReadingStop stop = ambersel::scanFrequencyLevelList(stream.get(), points, options);
        require(samePoints(points, expected.points), "the points fscanf reads");
        require(stop == expected.stop, "the stop where fscanf stops");
        require(options.contents == nullptr || taken == text, "the sink takes every byte");
    }

    const ambersel::support::TextStream stream(text);
    FrequencyLevelList points;
    ambersel::readFrequencyLevelList(stream.get(), points);
    require(samePoints(points, expected.points), "the plain reading gives the same points");
    return 0;
}
