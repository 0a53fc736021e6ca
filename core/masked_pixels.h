#pragma once
// 16-bit and 32-bit bitmap pixels, whose red, green and blue are picked out by bit masks,
// turned into the blue, green, red rows the true-colour reductions read.

#include <cstdint>
#include <span>
#include <vector>

#include "core/bitmap_headers.h"

namespace quorvel {

// Rows of 3 bytes per pixel (blue, green, red), each padded to a multiple of 4 bytes.
struct ExpandedTrueColour {
    std::vector<std::uint8_t> bytes;
    std::size_t stride = 0;
};

// Expands the Masked16 or Masked32 pixels of `layout` into rows top to bottom. Every channel
// is scaled to 0..255: narrower channels so that their largest value becomes 255, wider
// ones by dropping their lowest bits.
ExpandedTrueColour ExpandMaskedPixels(const BitmapLayout& layout);

}  // namespace quorvel
