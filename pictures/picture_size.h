#pragma once
// The size of a picture file of either kind, read from its headers alone, so that a picture
// that must have one exact size can be refused before its pixels are decoded and reduced.

#include <cstdint>
#include <span>

#include "core/result.h"

namespace quorvel {

struct PictureSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The width and height the file stores (a reduction then rounds the width up to a multiple
// of 4): from the header chunk of a PNG file, from the checked headers of a bitmap. Fails
// with a reason when the headers are damaged; pixel data is not looked at.
Result<PictureSize> ReadPictureSize(std::span<const std::uint8_t> file);

}  // namespace quorvel
