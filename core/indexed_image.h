#pragma once
// An image of game-palette indexes, and the one process-wide current image that bitmap
// loads fill, the bitmap writer saves and the sprite set copies to and from.

#include <cstdint>
#include <vector>

namespace quorvel {

struct IndexedImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // width × height indexes, rows top to bottom, no row padding.
    std::vector<std::uint8_t> pixels;

    // Width and height both 0 is "no image". An image with only one of them 0 (a bitmap of
    // height 0, a 0-wide sprite) still counts as an image, but cannot join the sprite set.
    bool IsEmpty() const { return width == 0 && height == 0; }
    bool HasArea() const { return width != 0 && height != 0; }
};

// The process-wide current image; starts empty.
IndexedImage& CurrentImage();

}  // namespace quorvel
