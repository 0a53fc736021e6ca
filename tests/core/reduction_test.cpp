#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/colour_reduction.h"
#include "core/game_palette.h"
#include "core/nearest_index.h"
#include "tests/support/bitmap_builder.h"

namespace quorvel {
namespace {

using testing::Bgr;
using testing::GameColour;
using Indexes = std::vector<std::uint8_t>;
using Colours = std::vector<std::vector<Bgr>>;

// Top-to-bottom rows of 3 bytes per pixel, each row padded to 4 bytes with junk.
struct TrueColourImage {
    std::vector<std::uint8_t> bytes;
    TrueColourRows rows;

    explicit TrueColourImage(const Colours& pixels) {
        const std::size_t width = pixels.empty() ? 0 : pixels[0].size();
        const std::size_t stride = (3 * width + 3) / 4 * 4;
        for (const auto& row : pixels) {
            for (const Bgr& c : row) {
                bytes.insert(bytes.end(), {c.blue, c.green, c.red});
            }
            bytes.resize(bytes.size() + stride - 3 * width, 0xEE);
        }
        rows = {bytes.data(), static_cast<std::ptrdiff_t>(stride),
                static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(pixels.size())};
    }
};

PalettedRows Paletted(const std::vector<std::uint8_t>& bytes, std::uint32_t width,
                      std::uint32_t height, const std::vector<std::uint8_t>& palette) {
    return {bytes.data(), static_cast<std::ptrdiff_t>((width + 3) / 4 * 4), width, height,
            palette.data()};
}

Indexes Dither(const Colours& pixels) {
    return DiffuseDither(TrueColourImage(pixels).rows).pixels;
}

NearestMatch Match(const Bgr& c) {
    return FindNearestIndex(c.red, c.green, c.blue);
}

Bgr MinusRed(Bgr c) {
    --c.red;
    return c;
}

TEST(ColourReduction, WidthFiveBecomesEightWithZeroColumnsByEveryMethod) {
    const Bgr colour = GameColour(100);
    const TrueColourImage trueColour(Colours(2, std::vector<Bgr>(5, colour)));
    std::vector<std::uint8_t> palette(kBitmapPaletteBytes, 0);  // entry 7 holds game entry 100
    palette[4 * 7] = colour.blue;
    palette[4 * 7 + 1] = colour.green;
    palette[4 * 7 + 2] = colour.red;
    const std::vector<std::uint8_t> bytes = {7, 7, 7, 7, 7, 0xEE, 0xEE, 0xEE,
                                             7, 7, 7, 7, 7, 0xEE, 0xEE, 0xEE};
    const PalettedRows paletted = Paletted(bytes, 5, 2, palette);
    const Indexes expected = {100, 100, 100, 100, 100, 0, 0, 0, 100, 100, 100, 100, 100, 0, 0, 0};
    for (const IndexedImage& image :
         {ReduceNearest(trueColour.rows), DiffuseDither(trueColour.rows), ReduceNearest(paletted),
          DiffuseDither(paletted)}) {
        EXPECT_EQ(image.width, 8u);
        EXPECT_EQ(image.height, 2u);
        EXPECT_EQ(image.pixels, expected);
    }
}

TEST(ColourReduction, ModeSelectsTheMethod) {
    const TrueColourImage grey(Colours(4, std::vector<Bgr>(8, {100, 100, 100})));
    EXPECT_EQ(ReduceToGamePalette(grey.rows, ConversionMode::Nearest).pixels,
              ReduceNearest(grey.rows).pixels);
    EXPECT_EQ(ReduceToGamePalette(grey.rows, ConversionMode::Dither).pixels,
              DiffuseDither(grey.rows).pixels);
    EXPECT_NE(ReduceNearest(grey.rows).pixels, DiffuseDither(grey.rows).pixels);
}

TEST(DiffuseDither, UniformPaletteColourGivesItsIndexAndSpreadsNoError) {
    for (const std::uint8_t index : Indexes{0, 11, 57, 200, 241, 242}) {
        const Indexes pixels = Dither(Colours(3, std::vector<Bgr>(6, GameColour(index))));
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            EXPECT_EQ(pixels[i], i % 8 < 6 ? index : 0) << "entry " << int(index);
        }
    }
}

// `source` matches entry 12 leaving an error of exactly -1 in red, which every neighbour's
// share keeps as -1 ((k × -1) >> 4; a division would give 0). `sensitive` changes its match
// when 1 is taken from its red. Black around them soaks up any error (it clamps back to black).
TEST(DiffuseDither, AnErrorOfMinusOneReachesEachNeighbourButNotTheNextRow) {
    const Bgr source = MinusRed(GameColour(12));
    const NearestMatch m = Match(source);
    ASSERT_TRUE(m.index == 12 && m.dRed == -1 && m.dGreen == 0 && m.dBlue == 0);
    Bgr sensitive{};
    bool found = false;
    for (int r = 1; r < 256 && !found; ++r) {
        for (int g = 0; g < 256 && !found; g += 5) {
            sensitive = {100, static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r)};
            found = Match(sensitive).index != Match(MinusRed(sensitive)).index;
        }
    }
    ASSERT_TRUE(found);
    const std::uint8_t same = Match(sensitive).index;
    const std::uint8_t shifted = Match(MinusRed(sensitive)).index;
    const Bgr k{};
    EXPECT_EQ(Dither({{source, sensitive}}), (Indexes{12, shifted, 0, 0}));  // right
    EXPECT_EQ(Dither({{source}, {sensitive}}), (Indexes{12, 0, 0, 0, shifted, 0, 0, 0}));
    EXPECT_EQ(Dither({{source, k}, {k, sensitive}}), (Indexes{12, 0, 0, 0, 0, shifted, 0, 0}));
    EXPECT_EQ(Dither({{k, source}, {sensitive, k}})[4], shifted);  // below left
    // The share right of a row's last pixel is dropped, not carried to the next row.
    EXPECT_EQ(Dither({{k, k, source}, {sensitive, k, k}}), (Indexes{0, 0, 12, 0, same, 0, 0, 0}));
    // An exact match spreads nothing.
    EXPECT_EQ(Dither({{GameColour(12), sensitive}}), (Indexes{12, same, 0, 0}));
}

}  // namespace
}  // namespace quorvel
