// Both reductions, in both variants, against plain versions written straight from their
// definition on top of the plain palette scan: the outputs must be identical byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/channel_tables.h"
#include "core/colour_reduction.h"
#include "core/game_palette.h"
#include "core/nearest_index.h"

namespace quorvel {
namespace {

// ---- Plain reductions ------------------------------------------------------------------

struct PlainSource {
    const std::uint8_t* top;
    std::ptrdiff_t stride;
    std::uint32_t width;
    std::uint32_t height;
    const std::uint8_t* palette;  // null for true colour

    void ColourAt(std::uint32_t x, std::uint32_t y, std::int32_t rgb[3]) const {
        const std::uint8_t* row = top + static_cast<std::ptrdiff_t>(y) * stride;
        const std::uint8_t* p = palette ? palette + 4 * row[x] : row + 3 * x;
        rgb[0] = p[2];
        rgb[1] = p[1];
        rgb[2] = p[0];
    }
};

IndexedImage PlainImage(const PlainSource& s) {
    IndexedImage image;
    image.width = (s.width + 3) / 4 * 4;
    image.height = s.height;
    image.pixels.assign(std::size_t{image.width} * s.height, 0);
    return image;
}

IndexedImage PlainNearest(const PlainSource& s) {
    IndexedImage image = PlainImage(s);
    for (std::uint32_t y = 0; y < s.height; ++y) {
        for (std::uint32_t x = 0; x < s.width; ++x) {
            std::int32_t c[3];
            s.ColourAt(x, y, c);
            image.pixels[std::size_t{y} * image.width + x] =
                FindNearestIndexByScan(c[0], c[1], c[2]).index;
        }
    }
    return image;
}

IndexedImage PlainDither(const PlainSource& s) {
    IndexedImage image = PlainImage(s);
    // current[c] and next[c] for red, green, blue; element x + 1 belongs to pixel x.
    std::vector<std::vector<std::int32_t>> current(3), next(3);
    for (int c = 0; c < 3; ++c) {
        current[c].assign(s.width + 2, 0);
        next[c].assign(s.width + 2, 0);
    }
    for (std::uint32_t y = 0; y < s.height; ++y) {
        for (std::uint32_t x = 0; x < s.width; ++x) {
            std::int32_t colour[3], value[3];
            s.ColourAt(x, y, colour);
            for (int c = 0; c < 3; ++c) {
                value[c] = std::clamp(colour[c] + current[c][x + 1], 0, 255);
            }
            const NearestMatch m = FindNearestIndexByScan(value[0], value[1], value[2]);
            image.pixels[std::size_t{y} * image.width + x] = m.index;
            if (m.distance != 0) {
                const std::int32_t e[3] = {m.dRed, m.dGreen, m.dBlue};
                for (int c = 0; c < 3; ++c) {
                    current[c][x + 2] += (7 * e[c]) >> 4;
                    next[c][x] += (5 * e[c]) >> 4;
                    next[c][x + 1] += (3 * e[c]) >> 4;
                    next[c][x + 2] += e[c] >> 4;
                }
            }
        }
        for (int c = 0; c < 3; ++c) {
            std::fill(current[c].begin(), current[c].end(), 0);
            std::swap(current[c], next[c]);
        }
    }
    return image;
}

// ---- Test images -----------------------------------------------------------------------

// Channel value of pattern at (x, y) for channel c.
using Pattern = std::function<std::uint8_t(std::uint32_t x, std::uint32_t y, int c)>;

std::uint8_t Byte(double v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
}

std::uint32_t Hash(std::uint32_t x, std::uint32_t y, int c) {
    std::uint32_t h =
        x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u ^ std::uint32_t(c) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

struct NamedPattern {
    std::string name;
    Pattern pattern;
};

std::vector<NamedPattern> Patterns() {
    return {
        {"random", [](std::uint32_t x, std::uint32_t y,
                      int c) { return static_cast<std::uint8_t>(Hash(x, y, c) >> 24); }},
        {"horizontal gradient",
         [](std::uint32_t x, std::uint32_t, int c) { return Byte(x * (3.0 + c)); }},
        {"vertical gradient",
         [](std::uint32_t, std::uint32_t y, int c) { return Byte(255.0 - y * (1.0 + 2 * c)); }},
        {"diagonal grey", [](std::uint32_t x, std::uint32_t y, int) { return Byte(x + y); }},
        {"smooth with noise",
         [](std::uint32_t x, std::uint32_t y, int c) {
             const double smooth = 128 + 90 * std::sin(x * 0.05 + c) * std::cos(y * 0.07 - c);
             return Byte(smooth + static_cast<int>(Hash(x, y, c) % 41) - 20);
         }},
        {"black", [](std::uint32_t, std::uint32_t, int) { return std::uint8_t{0}; }},
        {"white", [](std::uint32_t, std::uint32_t, int) { return std::uint8_t{255}; }},
        {"checker of extremes",
         [](std::uint32_t x, std::uint32_t y, int) {
             return static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0);
         }},
        {"saturated stripes",
         [](std::uint32_t x, std::uint32_t, int c) {
             return static_cast<std::uint8_t>(x % 3 == static_cast<std::uint32_t>(c) ? 255 : 0);
         }},
        {"palette colours",
         [](std::uint32_t x, std::uint32_t y, int c) {
             const std::uint32_t colour = kGameColours[(x * 7 + y * 13) % 256];
             return static_cast<std::uint8_t>(colour >> (16 - 8 * c));
         }},
    };
}

struct Size {
    std::uint32_t width, height;
};
constexpr Size kSizes[] = {{37, 29}, {1, 17}, {17, 1},  {2, 3}, {3, 2},
                           {5, 5},   {8, 8},  {130, 6}, {0, 4}, {4, 0}};

// True-colour rows as the bitmap reader hands them over, padding included. The padding
// bytes hold junk the reductions must not read as pixels.
struct TrueColourImage {
    std::vector<std::uint8_t> bytes;
    std::uint32_t width, height;
    std::size_t stride;

    TrueColourImage(Size size, const Pattern& pattern)
        : width(size.width),
          height(size.height),
          stride((3 * std::size_t{size.width} + 3) / 4 * 4) {
        bytes.assign(stride * height, 0xA5);
        for (std::uint32_t y = 0; y < height; ++y) {
            for (std::uint32_t x = 0; x < width; ++x) {
                std::uint8_t* p = bytes.data() + y * stride + 3 * x;
                p[0] = pattern(x, y, 2);
                p[1] = pattern(x, y, 1);
                p[2] = pattern(x, y, 0);
            }
        }
    }
    // Rows top to bottom in memory order, or read upwards from the last row.
    TrueColourRows Rows(bool upwards) const {
        const auto s = static_cast<std::ptrdiff_t>(stride);
        const std::uint8_t* top = bytes.data() + (upwards && height ? (height - 1) * stride : 0);
        return {top, upwards ? -s : s, width, height};
    }
};

void ExpectSameImage(const IndexedImage& fast, const IndexedImage& plain, const std::string& what) {
    EXPECT_EQ(fast.width, plain.width) << what;
    EXPECT_EQ(fast.height, plain.height) << what;
    ASSERT_EQ(fast.pixels.size(), plain.pixels.size()) << what;
    const auto [a, b] = std::mismatch(fast.pixels.begin(), fast.pixels.end(), plain.pixels.begin());
    EXPECT_TRUE(a == fast.pixels.end())
        << what << ": first difference at byte " << (a - fast.pixels.begin()) << ", " << int(*a)
        << " instead of " << int(*b);
}

TEST(Reductions, TrueColourMatchesPlainVersions) {
    for (const NamedPattern& p : Patterns()) {
        for (const Size size : kSizes) {
            const TrueColourImage image(size, p.pattern);
            for (const bool upwards : {false, true}) {
                const TrueColourRows rows = image.Rows(upwards);
                const PlainSource plain{rows.top, rows.stride, rows.width, rows.height, nullptr};
                const std::string what = p.name + " " + std::to_string(size.width) + "x" +
                                         std::to_string(size.height) + (upwards ? " upwards" : "");
                ExpectSameImage(ReduceNearest(rows), PlainNearest(plain), "nearest " + what);
                ExpectSameImage(DiffuseDither(rows), PlainDither(plain), "dither " + what);
            }
        }
    }
}

TEST(Reductions, TrueColourMatchesPlainVersionsOnALargerImage) {
    // Wide enough for long error chains and many cells.
    for (const NamedPattern& p : Patterns()) {
        if (p.name != "random" && p.name != "smooth with noise") {
            continue;
        }
        const TrueColourImage image({253, 61}, p.pattern);
        const TrueColourRows rows = image.Rows(true);
        const PlainSource plain{rows.top, rows.stride, rows.width, rows.height, nullptr};
        ExpectSameImage(ReduceNearest(rows), PlainNearest(plain), "nearest " + p.name);
        ExpectSameImage(DiffuseDither(rows), PlainDither(plain), "dither " + p.name);
    }
}

// Bitmap palettes: random (reserved bytes too), the game palette in another order, and one of
// extreme colours only.
std::vector<std::vector<std::uint8_t>> Palettes() {
    std::vector<std::vector<std::uint8_t>> palettes;
    std::mt19937 random(77);
    std::vector<std::uint8_t> randomPalette(kBitmapPaletteBytes);
    for (auto& b : randomPalette) {
        b = static_cast<std::uint8_t>(random());
    }
    palettes.push_back(randomPalette);

    std::vector<std::size_t> order(kPaletteEntries);
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::shuffle(order.begin(), order.end(), random);
    std::vector<std::uint8_t> shuffled(kBitmapPaletteBytes);
    for (std::size_t i = 0; i < order.size(); ++i) {
        std::copy_n(GamePalette.begin() + 4 * order[i], 4, shuffled.begin() + 4 * i);
    }
    palettes.push_back(shuffled);

    std::vector<std::uint8_t> extremes(kBitmapPaletteBytes);
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        for (int c = 0; c < 3; ++c) {
            extremes[4 * i + c] = (i >> c) & 1 ? 255 : (i >> (c + 3)) & 1 ? 1 : 0;
        }
    }
    palettes.push_back(extremes);
    return palettes;
}

TEST(Reductions, PalettedMatchesPlainVersions) {
    for (const std::vector<std::uint8_t>& palette : Palettes()) {
        for (const NamedPattern& p : Patterns()) {
            for (const Size size : kSizes) {
                const std::size_t stride = (std::size_t{size.width} + 3) / 4 * 4;
                std::vector<std::uint8_t> bytes(stride * size.height, 0xEE);
                for (std::uint32_t y = 0; y < size.height; ++y) {
                    for (std::uint32_t x = 0; x < size.width; ++x) {
                        bytes[y * stride + x] = p.pattern(x, y, 0) ^ p.pattern(x, y, 1);
                    }
                }
                const PalettedRows rows{bytes.data(), static_cast<std::ptrdiff_t>(stride),
                                        size.width, size.height, palette.data()};
                const PlainSource plain{rows.top, rows.stride, rows.width, rows.height,
                                        palette.data()};
                const std::string what =
                    p.name + " " + std::to_string(size.width) + "x" + std::to_string(size.height);
                ExpectSameImage(ReduceNearest(rows), PlainNearest(plain), "nearest " + what);
                ExpectSameImage(DiffuseDither(rows), PlainDither(plain), "dither " + what);
            }
        }
    }
}

TEST(FindNearestIndex, SameAnswersWhenTheTablesAreBuiltAgain) {
    // Rebuilding the channel tables drops the prepared cells; answers must not change.
    std::mt19937 random(5);
    std::vector<std::uint32_t> colours(2000);
    for (auto& c : colours) {
        c = random() & 0xFFFFFF;
    }
    for (int round = 0; round < 2; ++round) {
        for (const std::uint32_t c : colours) {
            const int r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
            const NearestMatch fast = FindNearestIndex(r, g, b);
            const NearestMatch scan = FindNearestIndexByScan(r, g, b);
            ASSERT_EQ(fast.index, scan.index) << c;
            ASSERT_EQ(fast.distance, scan.distance) << c;
        }
        BuildChannelTables();
    }
}

}  // namespace
}  // namespace quorvel
