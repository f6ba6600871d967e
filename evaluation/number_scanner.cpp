#include "evaluation/number_scanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

#include "evaluation/exact_float.h"

namespace ambersel {
namespace {

constexpr bool isDecimalDigit(int c) {
    return c >= '0' && c <= '9';
}
constexpr bool isHexDigit(int c) {
    return isDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
constexpr int toLower(int c) {
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

// A written exponent is saturated far beyond any float's range, so that no digit count added to
// it can overflow.
constexpr std::int64_t kExponentLimit = 1'000'000'000;

std::int64_t saturatingSum(std::int64_t a, std::int64_t b) {
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 4;
    return std::clamp(a, -kLimit, kLimit) + std::clamp(b, -kLimit, kLimit);
}

// Exact powers of ten in double precision: 10^22 is the largest.
constexpr std::array<double, 23> kPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The float nearest to digits * 10^scale when one double operation on exact operands gives it:
// the double result is correctly rounded, and rounding it on to single precision is exact unless
// it landed right on the midpoint between two floats. Within these bounds the result is always a
// normal float. Returns false when the shortcut does not apply.
bool convertInOneOperation(std::uint64_t digits, std::int64_t scale, float& value) {
    constexpr std::uint64_t kExactDigitsLimit = std::uint64_t{1} << 53;
    constexpr std::int64_t kExactScaleLimit = 22;
    if (digits > kExactDigitsLimit || scale < -kExactScaleLimit || scale > kExactScaleLimit) {
        return false;
    }
    const double exact = static_cast<double>(digits);
    const double rounded = scale < 0 ? exact / kPowersOfTen[static_cast<std::size_t>(-scale)]
                                     : exact * kPowersOfTen[static_cast<std::size_t>(scale)];
    // A double has 29 more significand bits than a float; a midpoint sets only the first of them.
    constexpr std::uint64_t kExtraBits = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t kMidpoint = std::uint64_t{1} << 28;
    if ((std::bit_cast<std::uint64_t>(rounded) & kExtraBits) == kMidpoint) {
        return false;
    }
    value = static_cast<float>(rounded);
    return true;
}

// The digits of a decimal number after its first 19: kept up to DecimalDigits::kKeptDigits in
// all, and after those only as "zero or not". It lives apart from the significand, so that only
// a long number's digits ever go through memory.
class DecimalTail {
  public:
    // Takes the next digit and returns how it moves the number's scale.
    int add(int digit, bool inFraction) {
        if (m_count < m_digits.size()) {
            m_digits[m_count++] = static_cast<std::uint8_t>(digit);
            return inFraction ? -1 : 0;
        }
        m_droppedNonZero = m_droppedNonZero || digit != 0;
        return inFraction ? 0 : 1;
    }
    bool empty() const { return m_count == 0; }
    std::span<const std::uint8_t> digits() const { return {m_digits.data(), m_count}; }
    bool droppedNonZero() const { return m_droppedNonZero; }

  private:
    std::size_t m_count = 0;
    bool m_droppedNonZero = false;
    // Only the first m_count are ever written or read, so the array is left uninitialised for the
    // common, shorter number.
    std::array<std::uint8_t, DecimalDigits::kKeptDigits - DecimalDigits::kLeadingDigits> m_digits;
};

// The digits of a decimal number. The first 19, which is all most numbers have, go into one
// 64-bit integer; the ones after them into a tail.
class DecimalSignificand {
  public:
    static constexpr int kExponentMark = 'e';
    static constexpr bool isDigit(int c) { return isDecimalDigit(c); }

    explicit DecimalSignificand(DecimalTail& tail) : m_tail(tail) {}

    void add(int c, bool inFraction) {
        if (m_leading < kLeadingLimit) {
            m_leading = m_leading * 10 + static_cast<std::uint64_t>(c - '0');
            m_scale -= inFraction ? 1 : 0;
        } else {
            m_scale += m_tail.add(c - '0', inFraction);
        }
    }

    float value(bool negative, std::int64_t exponent) const {
        const std::int64_t scale = saturatingSum(m_scale, exponent);
        if (m_tail.empty()) {
            if (m_leading == 0) {
                return signedZero(negative);
            }
            if (float value = 0; convertInOneOperation(m_leading, scale, value)) {
                return negative ? -value : value;
            }
        }
        return roundDecimalDigits({m_leading, m_tail.digits(), m_tail.droppedNonZero()}, scale,
                                  negative);
    }

  private:
    // Below this, one more digit still fits 64 bits: m_leading takes the first 19 significant
    // digits.
    static constexpr std::uint64_t kLeadingLimit = 1'000'000'000'000'000'000;

    std::uint64_t m_leading = 0;
    std::int64_t m_scale = 0;  // the digits taken times 10^m_scale are the number's digits
    DecimalTail& m_tail;
};

// The digits of a hexadecimal number: 64 bits hold 16 digits, far more than a float needs, and
// the digits after them matter only as "zero or not".
class HexSignificand {
  public:
    static constexpr int kExponentMark = 'p';
    static constexpr bool isDigit(int c) { return isHexDigit(c); }

    void add(int c, bool inFraction) {
        constexpr int kDigitBits = 4;
        if ((m_bits >> (64 - kDigitBits)) == 0) {
            const int digit = isDecimalDigit(c) ? c - '0' : toLower(c) - 'a' + 10;
            m_bits = (m_bits << kDigitBits) | static_cast<std::uint64_t>(digit);
            m_scale -= inFraction ? kDigitBits : 0;
        } else {
            m_scale += inFraction ? 0 : kDigitBits;
            m_droppedNonZero = m_droppedNonZero || c != '0';
        }
    }

    float value(bool negative, std::int64_t exponent) const {
        if (m_bits == 0) {
            return signedZero(negative);
        }
        return roundBinary(m_bits, saturatingSum(m_scale, exponent), m_droppedNonZero, negative);
    }

  private:
    std::uint64_t m_bits = 0;
    std::int64_t m_scale = 0;  // the kept bits times 2^m_scale are the number's digits
    bool m_droppedNonZero = false;
};

// Digits with an optional point, then an optional exponent, in the base of `Significand`.
// `afterZero`: a decimal "0" was already taken, which counts as a digit.
template <typename Significand>
bool scanPositional(ByteCursor& in, Significand& significand, bool negative, bool afterZero,
                    float& value) {
    bool anyDigit = afterZero;
    int c = in.peek();
    for (; Significand::isDigit(c); c = in.peek()) {
        significand.add(c, false);
        anyDigit = true;
        in.advance();
    }
    const bool point = c == '.';
    if (point) {
        in.advance();
        for (c = in.peek(); Significand::isDigit(c); c = in.peek()) {
            significand.add(c, true);
            anyDigit = true;
            in.advance();
        }
    }
    if (!anyDigit) {
        // In hexadecimal the "0" of "0x" is a number once a point follows it.
        if (Significand::kExponentMark == 'p' && point) {
            value = signedZero(negative);
            return true;
        }
        return false;
    }
    // An exponent: its mark, an optional sign and decimal digits. A mark, or a mark and its sign,
    // without digits after it is taken but counts as no exponent.
    std::int64_t exponent = 0;
    if (toLower(c) == Significand::kExponentMark) {
        in.advance();
        c = in.peek();
        const bool negativeExponent = c == '-';
        if (c == '-' || c == '+') {
            in.advance();
            c = in.peek();
        }
        for (; isDecimalDigit(c); c = in.peek()) {
            exponent = std::min(exponent * 10 + (c - '0'), kExponentLimit);
            in.advance();
        }
        exponent = negativeExponent ? -exponent : exponent;
    }
    value = significand.value(negative, exponent);
    return true;
}

// "nan", "inf" or "infinity", in any mix of cases. "inf" stands alone, but once "infi" is taken
// the whole "infinity" must follow.
bool scanWord(ByteCursor& in, bool negative, float& value) {
    const bool notANumber = toLower(in.peek()) == 'n';
    const std::string_view word = notANumber ? "nan" : "infinity";
    std::size_t taken = 0;
    for (; taken < word.size() && toLower(in.peek()) == word[taken]; ++taken) {
        in.advance();
    }
    constexpr std::size_t kShortWord = 3;
    if (taken < kShortWord || (taken > kShortWord && taken < word.size())) {
        return false;
    }
    const float magnitude = notANumber ? std::numeric_limits<float>::quiet_NaN()
                                       : std::numeric_limits<float>::infinity();
    value = std::copysign(magnitude, negative ? -1.0F : 1.0F);
    return true;
}

}  // namespace

bool scanNumber(ByteStream& stream, float& value) {
    ByteCursor in(stream);
    int c = in.peek();
    const bool negative = c == '-';
    if (c == '-' || c == '+') {
        in.advance();
        c = in.peek();
    }
    const int first = toLower(c);
    if (first == 'i' || first == 'n') {
        return scanWord(in, negative, value);
    }
    const bool afterZero = c == '0';
    if (afterZero) {
        in.advance();
        if (toLower(in.peek()) == 'x') {
            in.advance();
            HexSignificand significand;
            return scanPositional(in, significand, negative, false, value);
        }
    }
    DecimalTail tail;
    DecimalSignificand significand(tail);
    return scanPositional(in, significand, negative, afterZero, value);
}

}  // namespace ambersel
