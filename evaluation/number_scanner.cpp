#include "evaluation/number_scanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

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

float signedZero(bool negative) {
    return negative ? -0.0F : 0.0F;
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

// Most numbers in a list are short ("150000.0", "45.23"), and for them the standard library's
// conversion costs more than reading the digits. Gives the float nearest to digits * 10^scale
// when one double operation on exact operands gives it: the double result is correctly rounded,
// and rounding it on to single precision is exact unless it landed right on the midpoint between
// two floats. Within these bounds the result is always a normal float. Returns false when the
// shortcut does not apply.
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

struct DecimalBase {
    static constexpr bool isDigit(int c) { return isDecimalDigit(c); }
    static constexpr std::uint64_t digitValue(int c) { return static_cast<std::uint64_t>(c - '0'); }
    static constexpr int kRadix = 10;
    static constexpr int kExponentMark = 'e';
    static constexpr std::chars_format kFormat = std::chars_format::general;
    // How far one digit moves the number: one power of ten.
    static constexpr std::int64_t kDigitScale = 1;
    // As many as always fit 64 bits: below the limit, one more digit still fits.
    static constexpr std::size_t kLeadingDigits = 19;
    static constexpr std::uint64_t kLeadingLimit = 1'000'000'000'000'000'000;
    // The midpoint between two neighbouring floats has at most 113 significant digits, so the
    // digits after this many matter only as "zero or not".
    static constexpr std::size_t kKeptDigits = 120;
};

struct HexadecimalBase {
    static constexpr bool isDigit(int c) { return isHexDigit(c); }
    static constexpr std::uint64_t digitValue(int c) {
        return static_cast<std::uint64_t>(isDecimalDigit(c) ? c - '0' : toLower(c) - 'a' + 10);
    }
    static constexpr int kRadix = 16;
    static constexpr int kExponentMark = 'p';
    static constexpr std::chars_format kFormat = std::chars_format::hex;
    // One digit is four powers of two, and the exponent counts powers of two.
    static constexpr std::int64_t kDigitScale = 4;
    // 61 bits at least, far more than a float's 24 and the two that round them.
    static constexpr std::size_t kLeadingDigits = 16;
    static constexpr std::uint64_t kLeadingLimit = std::uint64_t{1} << 60;
    static constexpr std::size_t kKeptDigits = kLeadingDigits;
};

// The significant digits of a number, kept as far as they decide its float, for the standard
// library to round: the number is the kept digits times the base to the power of the scale, and
// a final 1 stands for the digits after the kept ones when any of them was not zero. That final
// digit puts the number strictly between two numbers of kKeptDigits digits, where no midpoint
// between floats lies, so it rounds as the whole number would. However long the number, the copy
// has a fixed size. The first digits, which is all most numbers have, are kept as one integer;
// only the ones after them go through memory.
template <typename Base>
class SignificantDigits {
  public:
    static constexpr int kExponentMark = Base::kExponentMark;
    static constexpr bool isDigit(int c) { return Base::isDigit(c); }

    void add(int c, bool inFraction) {
        const std::int64_t fractionStep = inFraction ? Base::kDigitScale : 0;
        // Leading zeros leave m_leading zero: they carry no precision.
        if (m_leading < Base::kLeadingLimit) {
            m_leading = m_leading * Base::kRadix + Base::digitValue(c);
            m_scale -= fractionStep;
        } else if (m_tailEnd < Base::kKeptDigits) {
            m_text[m_tailEnd++] = static_cast<char>(c);
            m_scale -= fractionStep;
        } else {
            m_scale += Base::kDigitScale - fractionStep;
            m_droppedNonZero = m_droppedNonZero || c != '0';
        }
    }

    float value(bool negative, std::int64_t exponent) {
        if (m_leading == 0) {
            return signedZero(negative);
        }
        std::int64_t scale = saturatingSum(m_scale, exponent);
        const bool tail = m_tailEnd > Base::kLeadingDigits;
        if constexpr (std::is_same_v<Base, DecimalBase>) {
            if (float value = 0; !tail && convertInOneOperation(m_leading, scale, value)) {
                return negative ? -value : value;
            }
        }
        // All kLeadingDigits of them once the tail has begun.
        const char* leadingEnd = std::to_chars(m_text.data(), m_text.data() + Base::kLeadingDigits,
                                               m_leading, Base::kRadix)
                                     .ptr;
        auto count = static_cast<std::size_t>(tail ? m_tailEnd : leadingEnd - m_text.data());
        if (m_droppedNonZero) {
            m_text[count++] = '1';
            scale -= Base::kDigitScale;
        }
        // The power of the exponent's base just above the number. A float overflows only from
        // 2^128 and underflows only below 2^-150, so its sign tells the two apart.
        const std::int64_t order =
            saturatingSum(static_cast<std::int64_t>(count) * Base::kDigitScale, scale);
        // Past this the number is far beyond the float range either way; the limit keeps the
        // exponent's text short.
        constexpr std::int64_t kScaleLimit = 100'000;
        scale = std::clamp(scale, -kScaleLimit, kScaleLimit);
        char* end = m_text.data() + count;
        *end++ = static_cast<char>(Base::kExponentMark);
        end = std::to_chars(end, m_text.data() + m_text.size(), scale).ptr;
        float magnitude = 0;
        // The text is well formed, so the only refusal is a number beyond the float range, which
        // leaves `magnitude` unset.
        if (std::from_chars(m_text.data(), end, magnitude, Base::kFormat).ec != std::errc{}) {
            magnitude = order > 0 ? std::numeric_limits<float>::infinity() : 0.0F;
        }
        return negative ? -magnitude : magnitude;
    }

  private:
    std::uint64_t m_leading = 0;
    std::int64_t m_scale = 0;
    std::size_t m_tailEnd = Base::kLeadingDigits;  // the digits after the leading ones end here
    bool m_droppedNonZero = false;
    // The text for the standard library: the leading digits, the digits after them, the final
    // 1, the exponent mark and a clamped exponent. Only what is written is ever read, so the array
    // is left uninitialised for the common, shorter number.
    std::array<char, Base::kKeptDigits + 16> m_text;
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
            SignificantDigits<HexadecimalBase> significand;
            return scanPositional(in, significand, negative, false, value);
        }
    }
    SignificantDigits<DecimalBase> significand;
    return scanPositional(in, significand, negative, afterZero, value);
}

}  // namespace ambersel
