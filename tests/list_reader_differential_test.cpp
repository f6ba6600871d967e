// The list reader against the C library's own fscanf(file, "%f,%f\n", ...) loop in the "C" locale,
// over generated lists that cover the number grammar, white space, malformed items and items that
// straddle buffer fills. Both must give the same points, bit for bit, and stop at the same item.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "evaluation/frequency_level_list.h"
#include "tests/support/scan_format_reference.h"
#include "tests/support/text_stream.h"
#include "tests/test_files.h"

namespace ambersel {
namespace {

using testing::bitsOf;

// Random list text, mostly well formed, with every form the scan format meets in the wild and in
// damaged files.
class ListTextGenerator {
  public:
    explicit ListTextGenerator(std::uint64_t seed) : m_random(seed) {}

    std::string list(int items) {
        std::string text;
        for (int i = 0; i < items; ++i) {
            text += item();
            text += separator();
        }
        if (chance(0.7)) {
            text += ending();
        }
        return text;
    }

  private:
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }
    int between(int low, int high) { return std::uniform_int_distribution(low, high)(m_random); }
    char pick(std::string_view choices) {
        return choices[static_cast<std::size_t>(between(0, static_cast<int>(choices.size()) - 1))];
    }
    std::string digits(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += pick("0123456789");
        }
        return text;
    }
    std::string whiteSpace(int low, int high) {
        std::string text;
        for (int n = between(low, high); n > 0; --n) {
            text += pick("  \t\n\n\r\v\f");
        }
        return text;
    }

    std::string item() {
        std::string text = number();
        if (chance(0.001)) {
            text += whiteSpace(1, 2);  // breaks the item
        }
        text += ',';
        if (chance(0.2)) {
            text += whiteSpace(1, 3);
        }
        return text + number();
    }

    std::string separator() {
        switch (between(0, 9)) {
            case 0:
                return "\r\n";
            case 1:
                return whiteSpace(1, 6);
            case 2:
                return chance(0.05) ? "" : " ";  // without one the next item may run into this
            default:
                return "\n";
        }
    }

    // What ends a list: text, a broken item, a number cut short, a byte-order mark, UTF-16, an
    // item broken across lines, a line longer than any excerpt.
    std::string ending() {
        static const std::array<std::string_view, 18> kEndings = {
            "end\n",
            "Frequency,Level\n",
            "150000 ,60\n",
            "150000;60\n",
            "3\n",
            "1,2,3\n",
            "-\n",
            ".\n",
            "0x\n",
            "infin,1\n",
            "na\n",
            "\xEF\xBB\xBF",
            "+-1,2",
            ",5\n",
            "1,\n\nfoo\n",
            "1,1e+\n-,2",
            {"1\0,\0\x32\0", 6},
            "x123456789012345678901234567890123456789012345678\n"};
        return std::string(kEndings[static_cast<std::size_t>(between(0, kEndings.size() - 1))]);
    }

    std::string number() {
        switch (between(0, 19)) {
            case 0:
                return special();
            case 1:
                return printedFloat(true);
            case 2:
            case 3:
                return printedFloat(false);
            case 4:
                return chance(0.5) ? longNumber() : halfway();
            case 9:
                return nearHalfway();
            case 5:
                return incomplete();
            case 6:
            case 7:
            case 8:
                return grammarNumber();
            default:
                return realistic();
        }
    }

    // "150000.0,45.23" style: what an instrument writes.
    std::string realistic() {
        std::array<char, 64> text{};
        const double value = chance(0.5) ? std::uniform_real_distribution(9e3, 1e9)(m_random)
                                         : std::uniform_real_distribution(-20.0, 140.0)(m_random);
        std::snprintf(text.data(), text.size(), "%.*f", between(0, 3), value);
        return text.data();
    }

    // Optional sign, digits on either side of an optional point, optional exponent.
    std::string grammarNumber() {
        std::string text;
        if (chance(0.3)) {
            text += pick("+-");
        }
        text += digits(between(0, 10));
        if (chance(0.6)) {
            text += '.';
            text += digits(between(0, 10));
        }
        if (text.find_first_of("0123456789") == std::string::npos) {
            text += digits(1);
        }
        if (chance(0.3)) {
            text += pick("eE");
            if (chance(0.5)) {
                text += pick("+-");
            }
            text += digits(between(1, chance(0.1) ? 12 : 3));
        }
        return text;
    }

    // A random float's bits printed in decimal or hexadecimal: subnormals, the edges of the
    // range, infinity and not-a-number included.
    std::string printedFloat(bool hexadecimal) {
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(m_random()));
        std::array<char, 128> text{};
        if (hexadecimal) {
            std::snprintf(text.data(), text.size(), "%a", static_cast<double>(value));
        } else {
            std::snprintf(text.data(), text.size(), "%.*g", between(1, 12),
                          static_cast<double>(value));
        }
        return text.data();
    }

    // More digits than any buffer fill of the smaller buffers, and past the kept precision.
    std::string longNumber() {
        std::string text = chance(0.5) ? "" : "-";
        text += chance(0.5) ? std::string(static_cast<std::size_t>(between(1, 300)), '0') : "";
        text += digits(between(1, 400));
        if (chance(0.7)) {
            text += '.' + digits(between(0, 400));
        }
        if (chance(0.5)) {
            text += 'e' + std::to_string(between(-400, 400));
        }
        return text;
    }

    // The exact decimal expansion of the point halfway between two neighbouring floats, where
    // rounding to even decides, or a nonzero digit far behind it decides upwards.
    std::string halfway() {
        std::array<char, 512> text{};
        std::snprintf(text.data(), text.size(), "%.300e", randomMidpoint());
        std::string number = text.data();
        if (chance(0.5)) {
            number.insert(number.find('e'),
                          std::string(static_cast<std::size_t>(between(0, 80)), '0') + "1");
        }
        return number;
    }

    // Short numbers on or next to a midpoint, where a conversion through double could round
    // twice: odd integers between 2^24 and 2^25, and midpoints cut to 15 to 19 digits.
    std::string nearHalfway() {
        if (chance(0.3)) {
            return std::to_string((1 << 24) + 2 * between(0, (1 << 23) - 1) + 1);
        }
        std::array<char, 64> text{};
        std::snprintf(text.data(), text.size(), "%.*g", between(15, 19), randomMidpoint());
        return text.data();
    }

    // The point halfway between a random finite float and the next one up, exact in double.
    double randomMidpoint() {
        float low = std::abs(std::bit_cast<float>(static_cast<std::uint32_t>(m_random())));
        if (!std::isfinite(low) || low == std::numeric_limits<float>::max()) {
            low = 1.0F;
        }
        return (double{low} + double{std::nextafter(low, HUGE_VALF)}) / 2;
    }

    std::string special() {
        static const std::array<const char*, 12> kForms = {
            "inf",  "INF",  "infinity", "Infinity",       "nan",   "NAN", "-inf",
            "+nan", "-nan", "0x1p-149", "0x1.fffffep127", "0X.8P1"};
        return kForms[static_cast<std::size_t>(between(0, kForms.size() - 1))];
    }

    // Forms the scanner consumes only in part, or not at all.
    std::string incomplete() {
        static const std::array<const char*, 12> kForms = {
            "1e", "1E+", "2e-", "0x.", "-0x.", "0x1p", "0x1p+", "7.", ".5", "-.5e", "0e", "0x"};
        return kForms[static_cast<std::size_t>(between(0, kForms.size() - 1))];
    }

    std::mt19937_64 m_random;
};

TEST(ListReaderAgainstScanFormat, SamePointsBitForBitAndSameStop) {
    ASSERT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
    constexpr std::size_t kWantedPoints = 120'000;
    constexpr std::array<std::size_t, 7> kBufferSizes = {1, 2, 3, 7, 61, 4096, 64 * 1024};

    ListTextGenerator generator(20261206);
    std::size_t comparedPoints = 0;
    std::size_t lists = 0;
    while (comparedPoints < kWantedPoints) {
        const std::string text = generator.list(300);
        const support::ScanFormatReading expected = support::readTextWithScanFormat(text);

        const support::TextStream stream(text);
        FrequencyLevelList actual;
        ReadingOptions options;
        options.bufferSize = kBufferSizes[lists % kBufferSizes.size()];
        const ReadingStop stop = scanFrequencyLevelList(stream.get(), actual, options);

        ASSERT_EQ(bitsOf(actual), bitsOf(expected.points)) << "list " << lists << ":\n" << text;
        ASSERT_TRUE(stop == expected.stop)
            << "list " << lists << " stops at line " << stop.line << " '" << stop.excerpt
            << "', fscanf at line " << expected.stop.line << " '" << expected.stop.excerpt << "':\n"
            << text;
        comparedPoints += actual.size();
        ++lists;
    }
    RecordProperty("compared_points", static_cast<int>(comparedPoints));
    RecordProperty("lists", static_cast<int>(lists));
}

}  // namespace
}  // namespace ambersel
