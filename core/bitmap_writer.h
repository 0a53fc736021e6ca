#pragma once
// Writing an image as an uncompressed 8-bit Windows bitmap carrying the game palette.

#include <cstdint>
#include <string>
#include <vector>

#include "core/encoded_pieces.h"
#include "core/indexed_image.h"
#include "core/result.h"

namespace quorvel {

// The complete file: 14-byte file header, 40-byte info header, the 1024-byte game palette,
// then the rows bottom to top, each padded with zeros to a multiple of 4 bytes.
// Fails when the file would not fit the format's 32-bit size fields.
Result<std::vector<std::uint8_t>> EncodeBitmap(const IndexedImage& image);

// The same file as pieces: its headers, then the rows of `image`, which must outlive them.
Result<EncodedPieces> BitmapPieces(const IndexedImage& image);

// Saves the current image to `fileName` (relative to the working folder), replacing any
// earlier file only once the new one is completely written. Failures are shown as file
// errors. Returns whether the file was written.
bool SaveBitmapFile(const std::string& fileName);

}  // namespace quorvel
