#include "sprites/background.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <string>

#include "core/label_texts.h"
#include "sprites/sprite_file.h"

namespace quorvel {

namespace {

constexpr std::size_t kTilePixels = std::size_t{kBackgroundTileWidth} * kBackgroundTileHeight;

// Where tile k's top-left pixel lies in the whole picture.
std::size_t TileOrigin(std::uint32_t k) {
    const std::size_t column = k / kBackgroundRows;
    const std::size_t row = k % kBackgroundRows;
    return row * kBackgroundTileHeight * kBackgroundWidth + column * kBackgroundTileWidth;
}

bool IsBackgroundSet(const SpriteSet& tiles) {
    if (tiles.count != kBackgroundTiles || tiles.widths.size() != kBackgroundTiles ||
        tiles.heights.size() != kBackgroundTiles || tiles.images.size() != kBackgroundTiles) {
        return false;
    }
    for (std::uint32_t k = 0; k < kBackgroundTiles; ++k) {
        if (tiles.widths[k] != kBackgroundTileWidth || tiles.heights[k] != kBackgroundTileHeight ||
            tiles.images[k].size() != kTilePixels) {
            return false;
        }
    }
    return true;
}

// An image of the background's size that holds its pixels.
Status CheckBackgroundImage(const IndexedImage& image) {
    if (Status size = CheckBackgroundSize(image.width, image.height); !size) {
        return size;
    }
    if (image.pixels.size() != std::size_t{kBackgroundWidth} * kBackgroundHeight) {
        return Failure{"the image does not hold the pixels its size says"};
    }
    return Success();
}

}  // namespace

Status CheckBackgroundSize(std::uint64_t width, std::uint64_t height) {
    if (width == kBackgroundWidth && height == kBackgroundHeight) {
        return Success();
    }
    return Failure{"a background must be " + SizeText(kBackgroundWidth, kBackgroundHeight) +
                   " pixels; this picture is " + SizeText(width, height)};
}

Result<SpriteSet> CutBackground(const IndexedImage& image) {
    if (Status size = CheckBackgroundImage(image); !size) {
        return Failure{size.error()};
    }
    try {
        SpriteSet tiles;
        tiles.count = kBackgroundTiles;
        tiles.widths.assign(kBackgroundTiles, kBackgroundTileWidth);
        tiles.heights.assign(kBackgroundTiles, kBackgroundTileHeight);
        tiles.images.resize(kBackgroundTiles);
        for (std::uint32_t k = 0; k < kBackgroundTiles; ++k) {
            std::vector<std::uint8_t>& tile = tiles.images[k];
            tile.resize(kTilePixels);
            const std::uint8_t* from = image.pixels.data() + TileOrigin(k);
            for (std::size_t y = 0; y < kBackgroundTileHeight; ++y) {
                std::copy_n(from + y * kBackgroundWidth, kBackgroundTileWidth,
                            tile.data() + y * kBackgroundTileWidth);
            }
        }
        return tiles;
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for its tiles"};
    }
}

Result<EncodedPieces> BackgroundFilePieces(const IndexedImage& image) {
    if (Status size = CheckBackgroundImage(image); !size) {
        return Failure{size.error()};
    }
    const std::vector<std::uint32_t> widths(kBackgroundTiles, kBackgroundTileWidth);
    const std::vector<std::uint32_t> heights(kBackgroundTiles, kBackgroundTileHeight);
    Result<EncodedPieces> file = SpriteFileHead(widths, heights);
    if (!file) {
        return file;
    }
    try {
        std::vector<std::span<const std::uint8_t>>& pieces = file.value().pieces;
        pieces.reserve(std::size_t{kBackgroundTiles} * kBackgroundTileHeight);
        for (std::uint32_t k = 0; k < kBackgroundTiles; ++k) {
            const std::uint8_t* from = image.pixels.data() + TileOrigin(k);
            for (std::size_t y = 0; y < kBackgroundTileHeight; ++y) {
                pieces.emplace_back(from + y * kBackgroundWidth, kBackgroundTileWidth);
            }
        }
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for its tiles"};
    }
    return file;
}

Result<IndexedImage> StitchBackground(const SpriteSet& tiles) {
    if (!IsBackgroundSet(tiles)) {
        return Failure{"a background file holds " + std::to_string(kBackgroundTiles) +
                       " sprites of " + SizeText(kBackgroundTileWidth, kBackgroundTileHeight)};
    }
    try {
        IndexedImage image;
        image.width = kBackgroundWidth;
        image.height = kBackgroundHeight;
        image.pixels.resize(std::size_t{kBackgroundWidth} * kBackgroundHeight);
        for (std::uint32_t k = 0; k < kBackgroundTiles; ++k) {
            std::uint8_t* to = image.pixels.data() + TileOrigin(k);
            for (std::size_t y = 0; y < kBackgroundTileHeight; ++y) {
                std::copy_n(tiles.images[k].data() + y * kBackgroundTileWidth, kBackgroundTileWidth,
                            to + y * kBackgroundWidth);
            }
        }
        return image;
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for the whole picture"};
    }
}

}  // namespace quorvel
