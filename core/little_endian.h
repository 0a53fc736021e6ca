#pragma once
// Little-endian fields of the file formats. The readers take a position the caller has already
// checked against the bytes present.

#include <cstddef>
#include <cstdint>
#include <span>

namespace quorvel {

inline std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

inline std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(ReadU16(bytes, at)) |
           static_cast<std::uint32_t>(ReadU16(bytes, at + 2)) << 16;
}

inline void WriteU16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteU32(std::uint8_t* at, std::uint32_t value) {
    WriteU16(at, static_cast<std::uint16_t>(value));
    WriteU16(at + 2, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace quorvel
