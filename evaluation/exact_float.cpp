#include "evaluation/exact_float.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace ambersel {
namespace {

// 5^13, the largest power of five that fits 32 bits.
constexpr std::uint32_t kFiveToThe13 = 1'220'703'125;
constexpr int kThirteen = 13;

std::uint32_t powerOfFive(std::int64_t exponent) {
    std::uint32_t power = 1;
    for (std::int64_t i = 0; i < exponent; ++i) {
        power *= 5;
    }
    return power;
}

void multiplyByPowerOfFive(BigNatural& number, std::int64_t exponent) {
    for (; exponent >= kThirteen; exponent -= kThirteen) {
        number.multiplyAdd(kFiveToThe13, 0);
    }
    number.multiplyAdd(powerOfFive(exponent), 0);
}

// Divides by 5^exponent, rounding down; true when something was left over.
bool divideByPowerOfFive(BigNatural& number, std::int64_t exponent) {
    bool remainder = false;
    for (; exponent >= kThirteen; exponent -= kThirteen) {
        remainder = number.divide(kFiveToThe13) != 0 || remainder;
    }
    return number.divide(powerOfFive(exponent)) != 0 || remainder;
}

int decimalDigitCount(std::uint64_t value) {
    int count = 0;
    for (; value != 0; value /= 10) {
        ++count;
    }
    return count;
}

}  // namespace

float signedZero(bool negative) {
    return negative ? -0.0F : 0.0F;
}

float signedInfinity(bool negative) {
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    return negative ? -kInfinity : kInfinity;
}

BigNatural::BigNatural(std::uint64_t value) {
    m_limbs[0] = static_cast<std::uint32_t>(value);
    m_limbs[1] = static_cast<std::uint32_t>(value >> 32);
    m_size = 2;
    trim();
}

void BigNatural::multiplyAdd(std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (std::size_t i = 0; i < m_size; ++i) {
        const std::uint64_t product = std::uint64_t{m_limbs[i]} * factor + carry;
        m_limbs[i] = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0) {
        m_limbs.at(m_size) = static_cast<std::uint32_t>(carry);
        ++m_size;
    }
    trim();
}

std::uint32_t BigNatural::divide(std::uint32_t divisor) {
    std::uint64_t remainder = 0;
    for (std::size_t i = m_size; i-- > 0;) {
        const std::uint64_t current = (remainder << 32) | m_limbs[i];
        m_limbs[i] = static_cast<std::uint32_t>(current / divisor);
        remainder = current % divisor;
    }
    trim();
    return static_cast<std::uint32_t>(remainder);
}

void BigNatural::shiftLeft(int bits) {
    const auto words = static_cast<std::size_t>(bits / 32);
    const int offset = bits % 32;
    const std::size_t size = m_size + words + 1;
    for (std::size_t i = size; i-- > words;) {
        const std::uint64_t pair =
            (std::uint64_t{limbAt(i - words)} << 32) | (i > words ? limbAt(i - words - 1) : 0);
        m_limbs.at(i) = static_cast<std::uint32_t>(pair >> (32 - offset));
    }
    std::fill_n(m_limbs.begin(), words, 0);
    m_size = size;
    trim();
}

int BigNatural::bitLength() const {
    if (m_size == 0) {
        return 0;
    }
    return static_cast<int>(32 * m_size) - std::countl_zero(m_limbs[m_size - 1]);
}

std::uint64_t BigNatural::leadingBits(bool& lowerNonZero) const {
    const int dropped = std::max(bitLength() - 64, 0);
    const auto word = static_cast<std::size_t>(dropped / 32);
    const int offset = dropped % 32;
    lowerNonZero = (limbAt(word) & ((std::uint32_t{1} << offset) - 1)) != 0;
    for (std::size_t i = 0; i < word; ++i) {
        lowerNonZero = lowerNonZero || m_limbs[i] != 0;
    }
    const std::uint64_t low = (std::uint64_t{limbAt(word + 1)} << 32) | limbAt(word);
    if (offset == 0) {
        return low;
    }
    return (low >> offset) | (std::uint64_t{limbAt(word + 2)} << (64 - offset));
}

void BigNatural::trim() {
    while (m_size > 0 && m_limbs[m_size - 1] == 0) {
        --m_size;
    }
}

float roundBinary(std::uint64_t bits, std::int64_t exponent, bool moreBelow, bool negative) {
    if (bits == 0) {
        return signedZero(negative);
    }
    const int leadingZeros = std::countl_zero(bits);
    bits <<= leadingZeros;
    exponent -= leadingZeros;
    // Now 2^top <= the number < 2^(top + 1).
    const std::int64_t top = exponent + 63;
    constexpr std::int64_t kLargestTop = 127;
    constexpr std::int64_t kSmallestLastBit = -149;  // the smallest subnormal float
    if (top > kLargestTop) {
        return signedInfinity(negative);
    }
    if (top < kSmallestLastBit - 1) {
        return signedZero(negative);
    }
    // A float's last bit lies 23 places below its top one, and never below the subnormals' last.
    const std::int64_t lastBit = std::max(top - 23, kSmallestLastBit);
    const auto dropped = static_cast<int>(lastBit - exponent);  // from 40 to 64
    std::uint64_t kept = dropped == 64 ? 0 : bits >> dropped;
    const std::uint64_t rest = dropped == 64 ? bits : bits & ((std::uint64_t{1} << dropped) - 1);
    const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
    if (rest > half || (rest == half && (moreBelow || (kept & 1) != 0))) {
        ++kept;
    }
    // At most 2^24, so exact as a float; the power of two only overflows to infinity.
    const float magnitude = std::ldexp(static_cast<float>(kept), static_cast<int>(lastBit));
    return negative ? -magnitude : magnitude;
}

float roundDecimalDigits(const DecimalDigits& kept, std::int64_t scale, bool negative) {
    BigNatural digits(kept.leading);
    for (const std::uint8_t digit : kept.tail) {
        digits.multiplyAdd(10, digit);
    }
    int digitCount = kept.tail.empty() ? decimalDigitCount(kept.leading)
                                       : static_cast<int>(kept.tail.size() + kept.kLeadingDigits);
    // A digit other than zero after the kept ones puts the number strictly between two numbers
    // of kKeptDigits digits, where no float midpoint lies; a final 1 does the same.
    if (kept.droppedNonZero) {
        digits.multiplyAdd(10, 1);
        ++digitCount;
        --scale;
    }
    if (digits.bitLength() == 0) {
        return signedZero(negative);
    }
    // 10^(magnitude - 1) <= the number < 10^magnitude.
    const std::int64_t magnitude = digitCount + scale;
    constexpr std::int64_t kAboveLargestFloat = 39;        // 10^39 > the largest float
    constexpr std::int64_t kBelowHalfSmallestFloat = -45;  // 10^-46 < half the smallest
    if (magnitude > kAboveLargestFloat) {
        return signedInfinity(negative);
    }
    if (magnitude < kBelowHalfSmallestFloat) {
        return signedZero(negative);
    }
    // digits * 10^scale = digits * 5^scale * 2^scale. For a negative scale the quotient by
    // 5^-scale is taken with at least 66 bits, after shifting digits left far enough, since
    // 5^n < 2^(7n/3).
    std::int64_t exponent = scale;
    bool remainder = false;
    if (scale >= 0) {
        multiplyByPowerOfFive(digits, scale);
    } else {
        constexpr std::int64_t kQuotientBits = 67;
        const std::int64_t shift =
            std::max<std::int64_t>(kQuotientBits + (-7 * scale + 2) / 3 - digits.bitLength(), 0);
        digits.shiftLeft(static_cast<int>(shift));
        remainder = divideByPowerOfFive(digits, -scale);
        exponent -= shift;
    }
    bool lowerNonZero = false;
    const std::uint64_t leading = digits.leadingBits(lowerNonZero);
    exponent += std::max(digits.bitLength() - 64, 0);
    return roundBinary(leading, exponent, remainder || lowerNonZero, negative);
}

}  // namespace ambersel
