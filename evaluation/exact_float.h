#pragma once

// Rounding numbers of any length to the nearest float, exactly: what the number scanner does
// with a number that no single double operation converts.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ambersel {

float signedZero(bool negative);
float signedInfinity(bool negative);

// A natural number of up to 640 bits, enough for the digits of a number of 121 significant
// decimal digits scaled by the powers of two and five that rounding it needs. Growing past that
// throws std::out_of_range, which the bounds in roundDecimal() rule out.
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

// The float nearest to digits * 10^scale, where `digits` is a natural number of `digitCount`
// decimal digits (at most 121), ties to even; beyond the float range, infinity or zero.
float roundDecimal(BigNatural digits, int digitCount, std::int64_t scale, bool negative);

}  // namespace ambersel
