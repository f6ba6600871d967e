#include "plot/pdf/big_endian.h"

#include <stdexcept>

namespace ambersel::plot::pdf {
namespace {

std::span<const std::byte> wordAt(std::span<const std::byte> bytes, std::size_t at,
                                  std::size_t length) {
    if (at > bytes.size() || length > bytes.size() - at) {
        throw std::runtime_error("malformed font or profile: a value reaches past its end");
    }
    return bytes.subspan(at, length);
}

}  // namespace

std::uint32_t readU32(std::span<const std::byte> bytes, std::size_t at) {
    const std::span<const std::byte> word = wordAt(bytes, at, 4);
    return (std::to_integer<std::uint32_t>(word[0]) << 24) |
           (std::to_integer<std::uint32_t>(word[1]) << 16) |
           (std::to_integer<std::uint32_t>(word[2]) << 8) | std::to_integer<std::uint32_t>(word[3]);
}

std::uint16_t readU16(std::span<const std::byte> bytes, std::size_t at) {
    const std::span<const std::byte> word = wordAt(bytes, at, 2);
    return static_cast<std::uint16_t>((std::to_integer<unsigned>(word[0]) << 8) |
                                      std::to_integer<unsigned>(word[1]));
}

std::int16_t readS16(std::span<const std::byte> bytes, std::size_t at) {
    return static_cast<std::int16_t>(readU16(bytes, at));
}

void appendU16(std::string& out, std::uint32_t value) {
    out += static_cast<char>((value >> 8) & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void appendU32(std::string& out, std::uint32_t value) {
    appendU16(out, value >> 16);
    appendU16(out, value & 0xFFFF);
}

void putU16(std::string& out, std::size_t at, std::uint32_t value) {
    out.at(at) = static_cast<char>((value >> 8) & 0xFF);
    out.at(at + 1) = static_cast<char>(value & 0xFF);
}

void putU32(std::string& out, std::size_t at, std::uint32_t value) {
    putU16(out, at, value >> 16);
    putU16(out, at + 2, value & 0xFFFF);
}

}  // namespace ambersel::plot::pdf
