#pragma once

// Rounding numbers of any length to the nearest float, exactly: what the number scanner does
// with a number that no single double operation converts.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace ambersel {

float signedZero(bool negative);
float signedInfinity(bool negative);

// A natural number of up to 640 bits, enough for a number of 121 significant decimal digits
// scaled by the powers of two and five that rounding it to a float needs. Growing past that
// throws std::out_of_range, which the bounds in roundDecimalDigits() rule out.
class BigNatural {
  public:
    explicit BigNatural(std::uint64_t value);

    void multiplyAdd(std::uint32_t factor, std::uint32_t addend);
    // Divides by `divisor` (not 0) and returns the remainder.
    std::uint32_t divide(std::uint32_t divisor);
    void shiftLeft(int bits);
    int bitLength() const;
    // The highest 64 bits (the whole number when it is shorter), and whether any bit below them
    // is set.
    std::uint64_t leadingBits(bool& lowerNonZero) const;

  private:
    std::uint32_t limbAt(std::size_t index) const { return index < m_size ? m_limbs[index] : 0; }
    void trim();

    static constexpr std::size_t kLimbs = 20;
    std::array<std::uint32_t, kLimbs> m_limbs{};  // least significant first
    std::size_t m_size = 0;
};

// The float nearest to bits * 2^exponent, ties to even; beyond the float range, infinity or zero.
// `moreBelow`: the number is a little more than that, by less than one unit of `bits`.
float roundBinary(std::uint64_t bits, std::int64_t exponent, bool moreBelow, bool negative);

// The significant digits of a decimal number of any length, as far as they decide its float.
struct DecimalDigits {
    // The midpoint between two neighbouring floats has at most 113 significant digits, so the
    // digits after this many matter only as "zero or not".
    static constexpr std::size_t kKeptDigits = 120;
    static constexpr std::size_t kLeadingDigits = 19;

    std::uint64_t leading = 0;           // the first digits, up to kLeadingDigits of them
    std::span<const std::uint8_t> tail;  // the digits after those, one per element, 0 to 9
    bool droppedNonZero = false;         // a digit after the kept ones was not zero
};

// The float nearest to the number whose digits are `kept`, times 10^scale, ties to even; beyond
// the float range, infinity or zero. `kept.tail` is empty unless `kept.leading` has
// kLeadingDigits digits, and holds at most kKeptDigits - kLeadingDigits of them.
float roundDecimalDigits(const DecimalDigits& kept, std::int64_t scale, bool negative);

}  // namespace ambersel
