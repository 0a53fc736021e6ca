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

    // An image with a side of 0 (a bitmap of height 0, an empty sprite of a game file) holds
    // no pixels; "Add ->" and "Insert ->" pass over it.
    bool HasArea() const { return width != 0 && height != 0; }
};

// The process-wide current image; starts empty.
IndexedImage& CurrentImage();

}  // namespace quorvel
