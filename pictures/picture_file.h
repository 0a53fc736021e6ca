#pragma once
// Pictures of either kind the tool reads, bitmaps and PNG files, told apart by their first
// bytes rather than their names; and the current image saved as a PNG file or a bitmap by the
// name chosen for it. The front ends' picture "Load" and "Save" come here.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "core/indexed_image.h"
#include "core/result.h"
#include "png/png_codec.h"

namespace quorvel {

// A decoded PNG picture in the game palette. A paletted picture whose 256 entries are the
// game palette in entries 1-255 is taken over index for index (1-10 become 242, entries
// with alpha below 128 become 0), as an 8-bit bitmap in the game palette is; every other
// picture is reduced by `mode`: transparent pixels (alpha below 128) become 0, the others are
// matched by their colour as it stands.
Result<IndexedImage> ConvertPngPicture(const png::DecodedPicture& picture, ConversionMode mode,
                                       BlackHandling black);

// A whole picture file held in memory: PNG when it starts with the PNG signature, otherwise
// a bitmap.
Result<IndexedImage> DecodePicture(std::span<const std::uint8_t> file, ConversionMode mode,
                                   BlackHandling black);

// Reads `fileName` and, on success, makes it the current image and requests a repaint. On
// failure shows "Unable to open NAME for read." or "Unable to read NAME: REASON." and leaves
// the current image unchanged. Returns whether the current image was replaced.
bool LoadPictureFile(const std::string& fileName, ConversionMode mode, BlackHandling black);

// Reads `fileName` as LoadPictureFile does, but only returns the image. On failure shows the
// same messages and returns nothing.
std::optional<IndexedImage> ReadPictureFile(const std::string& fileName, ConversionMode mode,
                                            BlackHandling black);

// Whether `fileName` ends in ".png", in any case.
bool NamesPngFile(std::string_view fileName);

// `image` as the file `fileName` names: an 8-bit paletted PNG when the name ends in ".png",
// otherwise an 8-bit bitmap.
Result<std::vector<std::uint8_t>> EncodePicture(const IndexedImage& image,
                                                std::string_view fileName);

// Saves the current image as an 8-bit paletted PNG when the name ends in ".png", otherwise
// as an 8-bit bitmap; atomically, with the same messages either way. Returns whether the file
// was written.
bool SavePictureFile(const std::string& fileName);

// Saves `image` the same way.
bool SaveImageAsPicture(const IndexedImage& image, const std::string& fileName);

}  // namespace quorvel
