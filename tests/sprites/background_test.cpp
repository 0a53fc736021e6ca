// Cutting a background picture into the game's tiles and stitching it back, and the natural
// order of file names.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/little_endian.h"
#include "core/natural_order.h"
#include "sprites/background.h"
#include "sprites/sprite_file.h"

namespace quorvel::testing {
namespace {

constexpr std::uint32_t kW = 8352, kH = 1200, kTileW = 144, kTileH = 150;

// The first two pixels of each tile carry its number (column by column, 8 rows), low byte
// first; every other pixel tells where it lies.
std::uint8_t Marker(std::uint32_t x, std::uint32_t y) {
    const std::uint32_t tile = x / kTileW * 8 + y / kTileH;
    if (y % kTileH == 0 && x % kTileW < 2) {
        return static_cast<std::uint8_t>(x % kTileW == 0 ? tile : tile >> 8);
    }
    return static_cast<std::uint8_t>(3 * x + 5 * y);
}

IndexedImage MarkedPicture(std::uint32_t width = kW, std::uint32_t height = kH) {
    IndexedImage image{width, height, std::vector<std::uint8_t>(std::size_t{width} * height)};
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            image.pixels[std::size_t{y} * width + x] = Marker(x, y);
        }
    }
    return image;
}

TEST(Background, TilesGoColumnByColumnInTheStandardLayout) {
    const IndexedImage picture = MarkedPicture();
    const SpriteSet tiles = CutBackground(picture).value();
    ASSERT_EQ(tiles.count, 464u);
    std::size_t wrong = 0;
    for (std::uint32_t k = 0; k < tiles.count; ++k) {
        ASSERT_EQ(tiles.widths[k], kTileW);
        ASSERT_EQ(tiles.heights[k], kTileH);
        for (std::uint32_t y = 0; y < kTileH; ++y) {
            for (std::uint32_t x = 0; x < kTileW; ++x) {
                wrong += tiles.images[k][y * kTileW + x] !=
                         Marker(k / 8 * kTileW + x, k % 8 * kTileH + y);
            }
        }
    }
    EXPECT_EQ(wrong, 0u);

    const std::vector<std::uint8_t> file = EncodeSpriteFile(tiles).value();
    ASSERT_EQ(file.size(), 10'026'114u);
    EXPECT_EQ(ReadU16(file, 0), 464);
    for (std::uint32_t k = 0; k < 464; ++k) {
        EXPECT_EQ(ReadU32(file, 2 + 8 * k), 3'714 + 21'600 * k) << k;
        EXPECT_EQ(ReadU16(file, 6 + 8 * k), kTileW);
        EXPECT_EQ(ReadU16(file, 8 + 8 * k), kTileH);
    }
    EXPECT_TRUE(BackgroundFilePieces(picture).value().Joined() == file);
    const IndexedImage back = StitchBackground(DecodeSpriteFile(file).value()).value();
    EXPECT_TRUE(back.width == kW && back.height == kH && back.pixels == picture.pixels);
}

TEST(Background, RefusesPicturesAndSetsOfAnotherShape) {
    for (const std::string& refused : {CutBackground(MarkedPicture(8356, 1200)).error(),
                                       BackgroundFilePieces(MarkedPicture(8356, 1200)).error()}) {
        EXPECT_EQ(refused, "a background must be 8352 × 1200 pixels; this picture is 8356 × 1200");
    }
    SpriteSet turned = CutBackground(MarkedPicture()).value(), shorter = turned;
    std::swap(turned.widths[5], turned.heights[5]);
    shorter.heights[463] = 149;
    shorter.images[463].resize(144 * 149);
    for (const SpriteSet& set : {turned, shorter}) {
        EXPECT_EQ(StitchBackground(set).error(),
                  "a background file holds 464 sprites of 144 × 150");
    }
}

TEST(NaturalOrder, DigitRunsByValueLettersWithoutCaseTiesFixed) {
    // Each name comes strictly before every later one.
    // clang-format off
    const std::vector<std::string> names = {
        "", "walk", "walk 2", "walk-3", "walk.png", "walk1", "walk002", "Walk2.bmp", "walk2.png",
        "walk02.png", "walk10", "walk10a", "walk18446744073709551616", "walk99999999999999999999",
        "walka", "WALKB", "walkb", "x10y2", "x10y10"};
    // clang-format on
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (std::size_t j = i; j < names.size(); ++j) {
            EXPECT_EQ(NaturalLess(names[i], names[j]), i < j) << names[i] << " < " << names[j];
            EXPECT_FALSE(NaturalLess(names[j], names[i])) << names[j] << " < " << names[i];
        }
    }
}

}  // namespace
}  // namespace quorvel::testing
