#include "fuzz/bitmap_header_peek.h"

#include <cstdlib>

namespace quorvel::fuzzing {

namespace {

std::uint32_t ReadU32(std::span<const std::uint8_t> file, std::size_t at) {
    return static_cast<std::uint32_t>(file[at]) | static_cast<std::uint32_t>(file[at + 1]) << 8 |
           static_cast<std::uint32_t>(file[at + 2]) << 16 |
           static_cast<std::uint32_t>(file[at + 3]) << 24;
}

std::uint64_t Magnitude(std::uint32_t field) {
    const auto value = static_cast<std::int64_t>(static_cast<std::int32_t>(field));
    return static_cast<std::uint64_t>(value < 0 ? -value : value);
}

}  // namespace

bool StatesLargeCompressedImage(std::span<const std::uint8_t> file) {
    // File header (14 bytes), then an info header of at least 20 bytes with the width at 18,
    // the height at 22 and the compression at 30. The 12-byte header has no compression.
    constexpr std::size_t kCompressionAt = 30;
    if (file.size() < kCompressionAt + 4 || ReadU32(file, 14) < 20) {
        return false;
    }
    const std::uint32_t compression = ReadU32(file, kCompressionAt);
    constexpr std::uint32_t kNone = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (compression == kNone || compression == kBitFields || compression == kAlphaBitFields) {
        return false;
    }
    const std::uint64_t pixels = Magnitude(ReadU32(file, 18)) * Magnitude(ReadU32(file, 22));
    return pixels > kLargestCompressedPixels;
}

}  // namespace quorvel::fuzzing
