// Both reductions, as each mode selects them, against a plain version written straight from
// their definition on top of the plain palette scan, on varied images: the outputs must be
// identical byte for byte, the zero padding of every row included.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/channel_tables.h"
#include "core/colour_reduction.h"
#include "core/game_palette.h"
#include "core/nearest_index.h"

namespace quorvel {
namespace {

// The rows of `r`, 3 bytes per pixel or, with a palette, one index.
IndexedImage PlainReduction(const PalettedRows& r, bool dither) {
    IndexedImage image{(r.width + 3) / 4 * 4, r.height, {}};
    image.pixels.assign(std::size_t{image.width} * r.height, 0);
    // Errors owed to the pixels of this row and the next; element x + 1 belongs
    // to pixel x.
    std::vector<std::array<int, 3>> current(r.width + 2), next(r.width + 2);
    for (std::uint32_t y = 0; y < r.height; ++y) {
        for (std::uint32_t x = 0; x < r.width; ++x) {
            const std::uint8_t* row = r.top + static_cast<std::ptrdiff_t>(y) * r.stride;
            const std::uint8_t* p = r.palette ? r.palette + 4 * row[x] : row + 3 * x;
            int value[3];
            for (int c = 0; c < 3; ++c) {
                value[c] = std::clamp(p[2 - c] + current[x + 1][c], 0, 255);
            }
            const NearestMatch m = FindNearestIndexByScan(value[0], value[1], value[2]);
            image.pixels[std::size_t{y} * image.width + x] = m.index;
            const int e[3] = {m.dRed, m.dGreen, m.dBlue};
            for (int c = 0; dither && m.distance != 0 && c < 3; ++c) {
                current[x + 2][c] += (7 * e[c]) >> 4;
                next[x][c] += (5 * e[c]) >> 4;
                next[x + 1][c] += (3 * e[c]) >> 4;
                next[x + 2][c] += e[c] >> 4;
            }
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), std::array<int, 3>{});
    }
    return image;
}

void ExpectMatchesPlain(const PalettedRows& r, const std::string& what) {
    const TrueColourRows t{r.top, r.stride, r.width, r.height};
    for (const bool dither : {false, true}) {
        const ConversionMode mode = dither ? ConversionMode::Dither : ConversionMode::Nearest;
        const IndexedImage fast =
            r.palette ? ReduceToGamePalette(r, mode) : ReduceToGamePalette(t, mode);
        const IndexedImage plain = PlainReduction(r, dither);
        EXPECT_EQ(fast.width, plain.width) << what;
        EXPECT_EQ(fast.height, plain.height) << what;
        EXPECT_TRUE(fast.pixels == plain.pixels) << (dither ? "dither " : "nearest ") << what;
    }
}

// Channel c of pattern n at (x, y): noise, gradients, smooth with noise, extremes in a
// checker and in stripes, and colours of the palette itself.
std::uint8_t Pattern(int n, std::uint32_t x, std::uint32_t y, int c) {
    std::uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u ^ c * 0xC2B2AE3Du;
    h = (h ^ h >> 15) * 0x2C1B3C6Du;
    h ^= h >> 12;
    const auto clamp = [](double v) {
        return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    };
    switch (n) {
        case 0:
            return static_cast<std::uint8_t>(h >> 24);
        case 1:
            return clamp(x * (3.0 + c) + 255.0 - y * (1.0 + 2 * c));
        case 2:
            return clamp(128 + 90 * std::sin(x * 0.05 + c) * std::cos(y * 0.07 - c) +
                         static_cast<int>(h % 41) - 20);
        case 3:
            return (x + y) % 2 ? 255 : 0;
        case 4:
            return x % 3 == static_cast<std::uint32_t>(c) ? 255 : 0;
        default:
            return static_cast<std::uint8_t>(kGameColours[(x * 7 + y * 13) % 256] >> (16 - 8 * c));
    }
}

struct Size {
    std::uint32_t width, height;
};
// Odd and even sides, sides below the dither's band of four rows and its stagger of two pixels
// per row, a long one, and empty images.
constexpr Size kSizes[] = {{37, 29}, {1, 17}, {17, 1}, {2, 3},    {3, 2}, {5, 5},
                           {6, 7},   {7, 4},  {2, 9},  {253, 61}, {0, 4}, {4, 0}};

TEST(Reductions, MatchPlainVersionsOnVariedImages) {
    std::mt19937 random(77);
    std::vector<std::uint8_t> randomPalette(kBitmapPaletteBytes), shuffled(kBitmapPaletteBytes);
    for (auto& b : randomPalette) {
        b = static_cast<std::uint8_t>(random());
    }
    std::vector<std::size_t> order(kPaletteEntries);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    for (std::size_t i = 0; i < order.size(); ++i) {
        std::copy_n(GamePalette.begin() + 4 * order[i], 4, shuffled.begin() + 4 * i);
    }
    for (int n = 0; n < 6; ++n) {
        for (const Size size : kSizes) {
            // True colour (read upwards from the last row too) and indexes into each
            // palette, every row padded with junk.
            const std::size_t stride = (3 * std::size_t{size.width} + 3) / 4 * 4;
            std::vector<std::uint8_t> bytes(stride * size.height, 0xA5);
            for (std::uint32_t y = 0; y < size.height; ++y) {
                for (std::uint32_t x = 0; x < size.width; ++x) {
                    for (int c = 0; c < 3; ++c) {
                        bytes[y * stride + 3 * x + c] = Pattern(n, x, y, 2 - c);
                    }
                }
            }
            const std::string what = std::to_string(n) + " " + std::to_string(size.width) + "x" +
                                     std::to_string(size.height);
            const auto s = static_cast<std::ptrdiff_t>(stride);
            const std::uint8_t* last =
                bytes.data() + (size.height ? (size.height - 1) * stride : 0);
            ExpectMatchesPlain({bytes.data(), s, size.width, size.height, nullptr}, what);
            ExpectMatchesPlain({last, -s, size.width, size.height, nullptr}, what + " upwards");
            for (const auto* palette : {&randomPalette, &shuffled}) {
                ExpectMatchesPlain({bytes.data(), s, size.width, size.height, palette->data()},
                                   what + " paletted");
            }
        }
    }
}

TEST(FindNearestIndex, SameAnswersWhenTheTablesAreBuiltAgain) {
    // Rebuilding the channel tables drops the prepared cells; answers must not change.
    std::mt19937 random(5);
    for (int round = 0; round < 2; ++round, BuildChannelTables()) {
        for (int n = 0; n < 2000; ++n) {
            const std::uint32_t c = static_cast<std::uint32_t>(random());
            const int r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
            ASSERT_EQ(FindNearestIndex(r, g, b).index, FindNearestIndexByScan(r, g, b).index) << c;
            ASSERT_EQ(FindNearestIndex(r, g, b).distance, FindNearestIndexByScan(r, g, b).distance);
        }
    }
}

}  // namespace
}  // namespace quorvel
