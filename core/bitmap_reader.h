#pragma once
// Reading Windows bitmaps into the game palette.

#include <cstdint>
#include <span>
#include <string>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "core/indexed_image.h"
#include "core/result.h"

namespace quorvel {

// Decodes a whole bitmap file held in memory. An 8-bit bitmap whose 256-entry palette equals
// the game palette in entries 1-255 is taken over index for index (1-10 become 242, row
// padding included); every other bitmap is reduced by the method `mode` names, black as
// `black` says. Never reads outside `file` and allocates only what the file's bytes justify.
Result<IndexedImage> DecodeBitmap(std::span<const std::uint8_t> file, ConversionMode mode,
                                  BlackHandling black = BlackHandling::AsSearched);

// Reads `fileName` (relative to the working folder) and, on success, makes it the current
// image and requests a repaint. On failure shows a file error and leaves the current image
// unchanged. Returns whether the current image was replaced.
bool LoadBitmapFile(const std::string& fileName, ConversionMode mode);

}  // namespace quorvel
