#pragma once
// Run-length coded 8-bit bitmap pixels.
//
// The codes are byte pairs, read from the bottom row up:
//   n > 0, v         n pixels of index v;
//   0, 0             end of the row: continue at the start of the row above;
//   0, 1             end of the bitmap;
//   0, 2, dx, dy     move dx pixels right and dy rows up;
//   0, n >= 3, ...   n indexes as they are, padded to an even number of bytes.
// Pixels the codes skip over keep index 0. Codes may reach into the row's padding (the width
// rounded up to a multiple of 4), as they would write an uncompressed row's padding bytes.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/result.h"

namespace quorvel {

// Expands `codes` into `height` rows of `stride` bytes (stride >= width rounded up to a
// multiple of 4), top row first, in `rows`, which the caller has filled with 0. Fails on codes
// that run past the padded edge of the image and on codes that stop before the last row
// without an end-of-bitmap code.
Status ExpandRle8(std::span<const std::uint8_t> codes, std::uint32_t width, std::uint32_t height,
                  std::span<std::uint8_t> rows, std::size_t stride);

}  // namespace quorvel
