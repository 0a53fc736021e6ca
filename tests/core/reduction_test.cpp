#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "core/colour_reduction.h"
#include "core/game_palette.h"
#include "core/nearest_index.h"
#include "tests/support/bitmap_builder.h"

namespace quorvel {
namespace {

using testing::Bgr;
using testing::GameColour;

// Top-to-bottom rows of colours, stored as a reduction reads them: 3 bytes per pixel, each
// row padded to a multiple of 4 bytes.
struct TrueColourImage {
    std::vector<std::uint8_t> bytes;
    TrueColourRows rows;

    explicit TrueColourImage(const std::vector<std::vector<Bgr>>& pixels) {
        const std::size_t width = pixels.empty() ? 0 : pixels[0].size();
        const std::size_t stride = (3 * width + 3) / 4 * 4;
        bytes.assign(stride * pixels.size(), 0xEE);  // padding that must be skipped
        for (std::size_t y = 0; y < pixels.size(); ++y) {
            for (std::size_t x = 0; x < width; ++x) {
                bytes[y * stride + 3 * x + 0] = pixels[y][x].blue;
                bytes[y * stride + 3 * x + 1] = pixels[y][x].green;
                bytes[y * stride + 3 * x + 2] = pixels[y][x].red;
            }
        }
        rows = {bytes.data(), static_cast<std::ptrdiff_t>(stride),
                static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(pixels.size())};
    }
};

struct PalettedImage {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> palette;
    PalettedRows rows;

    PalettedImage(const std::vector<std::vector<std::uint8_t>>& pixels,
                  std::vector<std::uint8_t> bitmapPalette)
        : palette(std::move(bitmapPalette)) {
        const std::size_t width = pixels.empty() ? 0 : pixels[0].size();
        const std::size_t stride = (width + 3) / 4 * 4;
        bytes.assign(stride * pixels.size(), 0xEE);
        for (std::size_t y = 0; y < pixels.size(); ++y) {
            std::copy(pixels[y].begin(), pixels[y].end(), bytes.begin() + y * stride);
        }
        rows = {bytes.data(), static_cast<std::ptrdiff_t>(stride),
                static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(pixels.size()),
                palette.data()};
    }
};

using Indexes = std::vector<std::uint8_t>;

IndexedImage Dither(const std::vector<std::vector<Bgr>>& pixels) {
    const TrueColourImage image(pixels);
    return DiffuseDither(image.rows);
}

NearestMatch Match(const Bgr& c) {
    return FindNearestIndex(c.red, c.green, c.blue);
}

Bgr MinusRed(Bgr c, int amount) {
    c.red = static_cast<std::uint8_t>(c.red - amount);
    return c;
}

const Bgr kBlack{0, 0, 0};

TEST(ColourReduction, WidthFiveBecomesEightWithZeroColumnsByEveryMethod) {
    const Bgr colour = GameColour(100);
    const TrueColourImage trueColour(
        {{colour, colour, colour, colour, colour}, {colour, colour, colour, colour, colour}});
    // A palette holding entry 100's colour at index 7 and nothing else.
    std::vector<std::uint8_t> palette(kBitmapPaletteBytes, 0);
    palette[4 * 7 + 0] = colour.blue;
    palette[4 * 7 + 1] = colour.green;
    palette[4 * 7 + 2] = colour.red;
    const PalettedImage paletted({{7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}}, palette);

    const Indexes expected = {100, 100, 100, 100, 100, 0, 0, 0, 100, 100, 100, 100, 100, 0, 0, 0};
    for (const IndexedImage& image :
         {ReduceNearest(trueColour.rows), DiffuseDither(trueColour.rows),
          ReduceNearest(paletted.rows), DiffuseDither(paletted.rows)}) {
        EXPECT_EQ(image.width, 8u);
        EXPECT_EQ(image.height, 2u);
        EXPECT_EQ(image.pixels, expected);
    }
}

TEST(ColourReduction, ModeSelectsTheMethod) {
    // A mid grey dithers into a mixture but maps to a single entry by nearest colour.
    const Bgr grey{100, 100, 100};
    const std::vector<std::vector<Bgr>> pixels(4, std::vector<Bgr>(8, grey));
    const TrueColourImage image(pixels);
    EXPECT_EQ(ReduceToGamePalette(image.rows, ConversionMode::Nearest).pixels,
              ReduceNearest(image.rows).pixels);
    EXPECT_EQ(ReduceToGamePalette(image.rows, ConversionMode::Dither).pixels,
              DiffuseDither(image.rows).pixels);
    EXPECT_NE(ReduceNearest(image.rows).pixels, DiffuseDither(image.rows).pixels);
}

TEST(ColourReduction, NearestMapsWhiteAndBlack) {
    const TrueColourImage image({{{252, 252, 252}, {255, 255, 255}, {0, 0, 0}, GameColour(57)}});
    EXPECT_EQ(ReduceNearest(image.rows).pixels, (Indexes{242, 242, 0, 57}));
}

TEST(ColourReduction, HeightZeroKeepsTheConvertedWidth) {
    TrueColourRows rows;
    rows.width = 5;
    const IndexedImage image = ReduceNearest(rows);
    EXPECT_EQ(image.width, 8u);
    EXPECT_EQ(image.height, 0u);
    EXPECT_TRUE(image.pixels.empty());
}

TEST(DiffuseDither, UniformPaletteColourSpreadsNoError) {
    for (const std::uint8_t index : std::vector<std::uint8_t>{11, 57, 100, 200, 241}) {
        const IndexedImage image =
            Dither(std::vector<std::vector<Bgr>>(3, std::vector<Bgr>(6, GameColour(index))));
        EXPECT_EQ(image.width, 8u);
        for (std::size_t i = 0; i < image.pixels.size(); ++i) {
            EXPECT_EQ(image.pixels[i], i % 8 < 6 ? index : 0) << "entry " << int(index);
        }
    }
    const auto white =
        Dither(std::vector<std::vector<Bgr>>(2, std::vector<Bgr>(4, {252, 252, 252})));
    EXPECT_EQ(white.pixels, Indexes(8, 242));
    const auto black = Dither(std::vector<std::vector<Bgr>>(2, std::vector<Bgr>(4, kBlack)));
    EXPECT_EQ(black.pixels, Indexes(8, 0));
}

// A pixel whose match leaves an error of exactly -1 in red and none elsewhere, and a colour
// whose match changes when 1 is taken from its red. Black next to them soaks up any error
// (it clamps back to exact black), so each test below sees one neighbour's share only.
class MinusOneError : public ::testing::Test {
  protected:
    void SetUp() override {
        source = MinusRed(GameColour(12), 1);
        const NearestMatch m = Match(source);
        ASSERT_EQ(m.index, 12);
        ASSERT_EQ(m.dRed, -1);
        ASSERT_EQ(m.dGreen, 0);
        ASSERT_EQ(m.dBlue, 0);
        for (int r = 1; r < 256 && !found; ++r) {
            for (int g = 0; g < 256 && !found; g += 5) {
                const Bgr c{100, static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r)};
                if (Match(c).index != Match(MinusRed(c, 1)).index) {
                    sensitive = c;
                    found = true;
                }
            }
        }
        ASSERT_TRUE(found);
        unchanged = Match(sensitive).index;
        shifted = Match(MinusRed(sensitive, 1)).index;
    }

    bool found = false;
    Bgr source;
    Bgr sensitive;
    std::uint8_t unchanged = 0;
    std::uint8_t shifted = 0;
};

TEST_F(MinusOneError, ReachesTheRightNeighbour) {
    // (7 × -1) >> 4 is -1, where a division would give 0.
    EXPECT_EQ(Dither({{source, sensitive}}).pixels, (Indexes{12, shifted, 0, 0}));
}

TEST_F(MinusOneError, ReachesBelowLeft) {
    // (The black pixel after it then takes its own error, so only the first is checked.)
    const Indexes pixels = Dither({{kBlack, source}, {sensitive, kBlack}}).pixels;
    EXPECT_EQ(pixels[1], 12);
    EXPECT_EQ(pixels[4], shifted);
}

TEST_F(MinusOneError, ReachesBelow) {
    EXPECT_EQ(Dither({{source}, {sensitive}}).pixels, (Indexes{12, 0, 0, 0, shifted, 0, 0, 0}));
}

TEST_F(MinusOneError, ReachesBelowRight) {
    EXPECT_EQ(Dither({{source, kBlack}, {kBlack, sensitive}}).pixels,
              (Indexes{12, 0, 0, 0, 0, shifted, 0, 0}));
}

TEST_F(MinusOneError, IsNotCarriedFromTheEndOfARowToTheNextRow) {
    // The share "to the right" of the last pixel is dropped, not added to the next row's
    // first pixel.
    EXPECT_EQ(Dither({{kBlack, kBlack, source}, {sensitive, kBlack, kBlack}}).pixels,
              (Indexes{0, 0, 12, 0, unchanged, 0, 0, 0}));
}

TEST_F(MinusOneError, SkipsPixelsMatchedExactly) {
    // An exact match spreads nothing, even though the next pixel would notice -1.
    EXPECT_EQ(Dither({{GameColour(12), sensitive}}).pixels, (Indexes{12, unchanged, 0, 0}));
}

// A direct statement of the dither over a whole image, with switches for the mistakes it
// is easy to make, to show that the real one matches the rule and that the test image tells
// the mistakes apart.
struct Variant {
    bool clampErrorSource = true;  // error from the clamped value (right) or the raw sum
    bool fiveBelowLeft = true;     // 5/16 below-left and 3/16 below, or the reverse
    bool clearRows = true;         // clear the used row before reusing it
};

Indexes ReferenceDither(const std::vector<std::vector<Bgr>>& pixels, Variant v) {
    const std::size_t height = pixels.size();
    const std::size_t width = pixels[0].size();
    const std::size_t outWidth = (width + 3) / 4 * 4;
    Indexes out(outWidth * height, 0);
    using Row = std::vector<std::array<int, 3>>;
    Row current(width + 2, {0, 0, 0});
    Row next(width + 2, {0, 0, 0});
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            const Bgr c = pixels[y][x];
            const int raw[3] = {c.red + current[x + 1][0], c.green + current[x + 1][1],
                                c.blue + current[x + 1][2]};
            int value[3];
            for (int k = 0; k < 3; ++k) {
                value[k] = std::clamp(raw[k], 0, 255);
            }
            const NearestMatch m = FindNearestIndexByScan(value[0], value[1], value[2]);
            out[y * outWidth + x] = m.index;
            if (m.distance == 0) {
                continue;
            }
            const int matched[3] = {value[0] - m.dRed, value[1] - m.dGreen, value[2] - m.dBlue};
            for (int k = 0; k < 3; ++k) {
                const int e = (v.clampErrorSource ? value[k] : raw[k]) - matched[k];
                current[x + 2][k] += (7 * e) >> 4;
                next[x][k] += ((v.fiveBelowLeft ? 5 : 3) * e) >> 4;
                next[x + 1][k] += ((v.fiveBelowLeft ? 3 : 5) * e) >> 4;
                next[x + 2][k] += e >> 4;
            }
        }
        if (v.clearRows) {
            std::fill(current.begin(), current.end(), std::array<int, 3>{0, 0, 0});
        }
        std::swap(current, next);
    }
    return out;
}

TEST(DiffuseDither, MatchesTheRuleAndNotItsLikelyMistakes) {
    // Saturated colours push the sums past 255 (clamping matters); a random field gives
    // every neighbour its share.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> channel(0, 255);
    std::vector<std::vector<Bgr>> pixels(9, std::vector<Bgr>(11));
    for (auto& row : pixels) {
        for (auto& p : row) {
            p = {static_cast<std::uint8_t>(channel(random)),
                 static_cast<std::uint8_t>(channel(random)),
                 static_cast<std::uint8_t>(channel(random))};
        }
    }
    for (std::size_t x = 0; x < 11; ++x) {
        pixels[0][x] = {255, 255, 250};
        pixels[1][x] = {250, 255, 255};
    }
    const Indexes expected = ReferenceDither(pixels, {});
    EXPECT_EQ(Dither(pixels).pixels, expected);
    EXPECT_NE(ReferenceDither(pixels, {.clampErrorSource = false}), expected);
    EXPECT_NE(ReferenceDither(pixels, {.fiveBelowLeft = false}), expected);
    EXPECT_NE(ReferenceDither(pixels, {.clearRows = false}), expected);
}

TEST(DiffuseDither, ClampsAboveTheTopAndTakesTheErrorFromTheClampedValue) {
    // (255, 255, 255) matches white 252 and passes +3 × 7/16 = +1 to the right, so the second
    // pixel sums to 256 and is clamped to 255 before the search.
    const Bgr white{255, 255, 255};
    EXPECT_EQ(Dither({{white, white, white, white}}).pixels, (Indexes{242, 242, 242, 242}));
    std::vector<std::vector<Bgr>> saturated(3, std::vector<Bgr>(5, {0, 255, 255}));
    EXPECT_EQ(Dither(saturated).pixels, ReferenceDither(saturated, {}));
}

TEST(ColourReduction, PalettedBitmapInReorderedGamePaletteIsRemapped) {
    // File entry i holds the colour of game entry 255 - i.
    std::vector<std::uint8_t> palette(kBitmapPaletteBytes);
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        std::copy_n(GamePalette.begin() + 4 * (255 - i), 4, palette.begin() + 4 * i);
    }
    std::vector<std::vector<std::uint8_t>> pixels(16, std::vector<std::uint8_t>(16));
    for (int i = 0; i < 256; ++i) {
        pixels[i / 16][i % 16] = static_cast<std::uint8_t>(i);
    }
    const PalettedImage image(pixels, palette);

    // The game index of each colour: the first candidate holding it, white as 242.
    Indexes expected(256);
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t colour = kGameColours[255 - i];
        int index = colour == 0xFCFCFC ? kWhiteIndex : 0;
        for (int j = 11; j <= 241 && colour != 0xFCFCFC && colour != 0; ++j) {
            if (kGameColours[j] == colour) {
                index = j;
                break;
            }
        }
        expected[i] = static_cast<std::uint8_t>(index);
    }
    EXPECT_EQ(ReduceNearest(image.rows).pixels, expected);
    EXPECT_EQ(DiffuseDither(image.rows).pixels, expected);
}

TEST(ColourReduction, ReadsRowsThroughANegativeStride) {
    // The same rows stored bottom-up and walked from the last one give the same image.
    const std::vector<std::vector<Bgr>> pixels = {{{10, 200, 30}, {250, 0, 0}, {90, 90, 90}},
                                                  {{0, 0, 255}, {40, 40, 40}, {7, 8, 9}}};
    const TrueColourImage topDown(pixels);
    const TrueColourImage bottomUp({pixels[1], pixels[0]});
    TrueColourRows reversed = bottomUp.rows;
    reversed.top += reversed.stride;
    reversed.stride = -reversed.stride;
    EXPECT_EQ(ReduceNearest(reversed).pixels, ReduceNearest(topDown.rows).pixels);
    EXPECT_EQ(DiffuseDither(reversed).pixels, DiffuseDither(topDown.rows).pixels);
}

}  // namespace
}  // namespace quorvel
