#pragma once
// What the platform codecs share.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/indexed_image.h"
#include "core/result.h"
#include "png/png_codec.h"

namespace quorvel::png::detail {

// Refuses, from the header alone and before any decoder sees the file, a picture whose pixels
// would take more than kLargestDecodedBytes. Files without a readable header pass, for the
// decoder to refuse with its own reason.
Status CheckStatedSize(std::span<const std::uint8_t> file);

// What is wrong with the file's structure, worded as libspng words it: the signature, the
// header chunk's fields, every chunk's length and checksum up to IEND. Empty when all of that
// is sound, so that a fault can only lie in the compressed pixels. For a decoder whose own
// reasons are less precise than libspng's.
std::string DescribeDamage(std::span<const std::uint8_t> file);

// The platform's decoder and encoder, behind the checks DecodePng and EncodeIndexedPng make
// first. Both may throw std::bad_alloc.
Result<DecodedPicture> DecodeFile(std::span<const std::uint8_t> file);
Result<std::vector<std::uint8_t>> EncodeFile(const IndexedImage& image);

// Spreads packed indexes (1, 2 or 4 bits, leftmost pixel in the high bits, each row starting
// on a byte) to one byte each.
void UnpackIndexes(std::vector<std::uint8_t>& pixels, std::uint32_t width, std::uint32_t height,
                   unsigned depth);

}  // namespace quorvel::png::detail
