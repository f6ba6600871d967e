#pragma once

// Integers in the big-endian byte order of TrueType fonts and ICC colour profiles.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ambersel::plot::pdf {

// Read from `bytes` at `at`; throw std::runtime_error past their end.
std::uint32_t readU32(std::span<const std::byte> bytes, std::size_t at);
std::uint16_t readU16(std::span<const std::byte> bytes, std::size_t at);
std::int16_t readS16(std::span<const std::byte> bytes, std::size_t at);

// Appended to `out`: the low 16 or all 32 bits of `value`.
void appendU16(std::string& out, std::uint32_t value);
void appendU32(std::string& out, std::uint32_t value);

// Written over the bytes of `out` at `at`, which must be there.
void putU16(std::string& out, std::size_t at, std::uint32_t value);
void putU32(std::string& out, std::size_t at, std::uint32_t value);

}  // namespace ambersel::plot::pdf
