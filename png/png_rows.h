#pragma once
// Row helpers the platform codecs share.

#include <cstdint>
#include <vector>

namespace quorvel::png::detail {

// Spreads packed indexes (1, 2 or 4 bits, leftmost pixel in the high bits, each row starting
// on a byte) to one byte each.
void UnpackIndexes(std::vector<std::uint8_t>& pixels, std::uint32_t width, std::uint32_t height,
                   unsigned depth);

}  // namespace quorvel::png::detail
