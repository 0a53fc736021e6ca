// Both reductions, as each mode selects them, with black as searched and kept visible, against
// a plain version written straight from their definition on top of the plain palette scan, on
// varied images: the outputs must be identical byte for byte, the zero padding of every row
// included.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/colour_reduction.h"
#include "core/game_palette.h"
#include "tests/support/plain_reduction.h"

namespace quorvel {
namespace {

// The rows of `r`, 3 bytes per pixel or, with a palette, one index.
IndexedImage PlainReduction(const PalettedRows& r, ConversionMode mode, BlackHandling black) {
    const auto pixel = [&r](std::uint32_t x, std::uint32_t y) {
        const std::uint8_t* row = r.top + static_cast<std::ptrdiff_t>(y) * r.stride;
        const std::uint8_t* p = r.palette ? r.palette + 4 * row[x] : row + 3 * x;
        return std::optional(std::array<int, 3>{p[2], p[1], p[0]});
    };
    return testing::PlainReduction(r.width, r.height, pixel, mode, black);
}

void ExpectMatchesPlain(const PalettedRows& r, const std::string& what) {
    const TrueColourRows t{r.top, r.stride, r.width, r.height};
    for (const int method : {0, 1, 2, 3}) {
        const ConversionMode mode{method % 2 == 1};
        const BlackHandling black{method >= 2};
        const IndexedImage fast =
            r.palette ? ReduceToGamePalette(r, mode, black) : ReduceToGamePalette(t, mode, black);
        const IndexedImage plain = PlainReduction(r, mode, black);
        EXPECT_TRUE(std::tie(fast.width, fast.height, fast.pixels) ==
                    std::tie(plain.width, plain.height, plain.pixels))
            << (method % 2 ? "dither " : "nearest ") << (method >= 2 ? "keeping black " : "")
            << what;
    }
}

// Channel c of pattern n at (x, y): noise, gradients, smooth with noise, extremes in a
// checker and in stripes, and colours of the palette itself.
std::uint8_t Pattern(int n, std::uint32_t x, std::uint32_t y, int c) {
    std::uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u ^ c * 0xC2B2AE3Du;
    h = (h ^ h >> 15) * 0x2C1B3C6Du;
    h ^= h >> 12;
    const double smooth = 128 + 90 * std::sin(x * 0.05 + c) * std::cos(y * 0.07 - c);
    const double values[] = {
        static_cast<double>(h >> 24),
        x * (3.0 + c) + 255.0 - y * (1.0 + 2 * c),
        smooth + static_cast<int>(h % 41) - 20,
        (x + y) % 2 ? 255.0 : 0.0,
        x % 3 == static_cast<std::uint32_t>(c) ? 255.0 : 0.0,
        static_cast<double>(kGameColours[(x * 7 + y * 13) % 256] >> (16 - 8 * c) & 0xFF)};
    return static_cast<std::uint8_t>(std::clamp(values[n], 0.0, 255.0));
}

// Odd and even sides, sides below the dither's band of four rows and its stagger of two pixels
// per row, a long one, and empty images.
constexpr struct {
    std::uint32_t width, height;
} kSizes[] = {{37, 29}, {1, 17}, {17, 1}, {2, 3},    {3, 2}, {5, 5},
              {6, 7},   {7, 4},  {2, 9},  {253, 61}, {0, 4}, {4, 0}};

TEST(Reductions, MatchPlainVersionsOnVariedImages) {
    std::mt19937 random(77);
    std::vector<std::uint8_t> randomPalette(kBitmapPaletteBytes), shuffled(kBitmapPaletteBytes);
    for (auto& b : randomPalette) {
        b = static_cast<std::uint8_t>(random());
    }
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        std::copy_n(GamePalette.begin() + 4 * (i * 97 % 256), 4, shuffled.begin() + 4 * i);
    }
    for (int n = 0; n < 6; ++n) {
        for (const auto size : kSizes) {
            // True colour (read upwards from the last row too) and indexes into each
            // palette, every row padded with junk.
            const std::size_t stride = (3 * std::size_t{size.width} + 3) / 4 * 4;
            std::vector<std::uint8_t> bytes(stride * size.height, 0xA5);
            for (std::uint32_t y = 0; y < size.height; ++y) {
                for (std::uint32_t i = 0; i < 3 * size.width; ++i) {
                    bytes[y * stride + i] = Pattern(n, i / 3, y, 2 - static_cast<int>(i % 3));
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

// Threads share a picture by rows (nearest) or follow each other in a wavefront of bands of
// four rows (dither): whatever their number, the bytes must be those of one thread. RGBA rows
// with transparent holes cover the pixels that take no part in the dither.
constexpr struct {
    std::uint32_t width, height;
} kThreadedSizes[] = {{1, 40},  {2, 40},  {3, 40}, {4, 40},   {5, 40}, {6, 40},
                      {7, 40},  {8, 40},  {9, 40}, {64, 1},   {1, 1},  {1, 9},
                      {3, 301}, {301, 3}, {97, 5}, {130, 70}, {0, 9},  {9, 0}};

TEST(Reductions, GiveTheSameBytesOnAnyNumberOfThreads) {
    for (const auto size : kThreadedSizes) {
        const std::size_t stride = 4 * std::size_t{size.width};
        std::vector<std::uint8_t> rgba(stride * size.height);
        for (std::uint32_t y = 0; y < size.height; ++y) {
            for (std::uint32_t x = 0; x < size.width; ++x) {
                std::uint8_t* p = rgba.data() + y * stride + 4 * x;
                for (int c = 0; c < 3; ++c) {
                    p[c] = Pattern(2, x, y, c);
                }
                p[3] = (x * 5 + y * 3) % 11 == 0 ? 40 : 255;  // scattered holes
            }
        }
        std::vector<std::uint8_t> bgr(3 * std::size_t{size.width} * size.height);
        for (std::size_t p = 0; p < bgr.size() / 3; ++p) {
            std::copy_n(rgba.begin() + 4 * p, 3, bgr.begin() + 3 * p);
        }
        const RgbaRows withHoles{rgba.data(), static_cast<std::ptrdiff_t>(stride), size.width,
                                 size.height};
        const TrueColourRows opaque{bgr.data(), 3 * static_cast<std::ptrdiff_t>(size.width),
                                    size.width, size.height};
        const PalettedRows indexes{bgr.data(), static_cast<std::ptrdiff_t>(size.width), size.width,
                                   size.height, GamePalette.data()};
        for (const int method : {0, 1, 2, 3}) {
            const ConversionMode mode{method % 2 == 1};
            const BlackHandling black{method >= 2};
            for (const unsigned threads : {2u, 3u, 8u}) {
                const std::string what =
                    std::to_string(size.width) + "x" + std::to_string(size.height) + " method " +
                    std::to_string(method) + " on " + std::to_string(threads) + " threads";
                EXPECT_EQ(ReduceToGamePalette(withHoles, mode, black, threads).pixels,
                          ReduceToGamePalette(withHoles, mode, black, 1).pixels)
                    << "RGBA " << what;
                EXPECT_EQ(ReduceToGamePalette(opaque, mode, black, threads).pixels,
                          ReduceToGamePalette(opaque, mode, black, 1).pixels)
                    << "true colour " << what;
                EXPECT_EQ(ReduceToGamePalette(indexes, mode, black, threads).pixels,
                          ReduceToGamePalette(indexes, mode, black, 1).pixels)
                    << "paletted " << what;
            }
        }
    }
}

}  // namespace
}  // namespace quorvel
