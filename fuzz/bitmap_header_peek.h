#pragma once
// A glance at a bitmap's headers through the reader's own header parser, for the fuzz targets
// only: enough to tell a compressed bitmap that states a large image.

#include <cstdint>
#include <span>

namespace quorvel::fuzzing {

// Run-length compressed bitmaps may state an image far larger than their bytes (the reader
// allows it up to its cap). Converting such an image to the palette takes long enough to starve
// the search for faults, so the targets pass over compressed bitmaps above this many pixels.
// Uncompressed ones are never passed over: their sizes are checked against the bytes present.
inline constexpr std::uint64_t kLargestCompressedPixels = std::uint64_t{1} << 18;

// Whether the headers are readable and state an RLE8 image of more than that many pixels.
bool StatesLargeCompressedImage(std::span<const std::uint8_t> file);

}  // namespace quorvel::fuzzing
