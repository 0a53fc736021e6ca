// Pictures with transparency reduced to the game palette, black kept visible, PNG written and
// read back: against plain versions of the rules and against the bitmap path.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "core/colour_reduction.h"
#include "core/game_palette.h"
#include "core/nearest_index.h"
#include "pictures/picture_file.h"
#include "png/png_codec.h"
#include "tests/png/png_maker.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr ConversionMode kModes[] = {ConversionMode::Nearest, ConversionMode::Dither};
constexpr BlackHandling kBlacks[] = {BlackHandling::AsSearched, BlackHandling::KeepVisible};

// Random RGBA pixels of channels below `limit`, with a transparent rectangle, a few scattered
// transparent pixels and alphas on both sides of 128.
Bytes RandomRgba(std::uint32_t width, std::uint32_t height, unsigned seed, unsigned limit) {
    std::mt19937 random(seed);
    Bytes rgba(4 * std::size_t{width} * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint8_t* p = &rgba[4 * (std::size_t{y} * width + x)];
            for (int c = 0; c < 3; ++c) {
                p[c] = static_cast<std::uint8_t>(random() % limit);
            }
            const bool hole = x >= width / 3 && x < width / 2 && y >= height / 4 && y < height / 2;
            p[3] =
                hole ? 0 : static_cast<std::uint8_t>(random() % 10 == 0 ? 126 + random() % 4 : 255);
        }
    }
    return rgba;
}

// The rules written out plainly: separate current and next error rows, the plain scan; a
// transparent pixel is 0, reads no error and spreads none.
IndexedImage PlainRgbaReduction(const Bytes& rgba, std::uint32_t width, std::uint32_t height,
                                ConversionMode mode, BlackHandling black) {
    IndexedImage image{(width + 3) / 4 * 4, height, {}};
    image.pixels.assign(std::size_t{image.width} * height, 0);
    std::vector<std::array<int, 3>> current(width + 2), next(width + 2);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgba[4 * (std::size_t{y} * width + x)];
            if (p[3] < 128) {
                continue;
            }
            int value[3];
            for (int c = 0; c < 3; ++c) {
                value[c] = std::clamp(p[c] + current[x + 1][c], 0, 255);
            }
            const NearestMatch m = FindNearestIndexByScan(value[0], value[1], value[2]);
            image.pixels[std::size_t{y} * image.width + x] =
                m.index == 0 && black == BlackHandling::KeepVisible ? 243 : m.index;
            const int e[3] = {m.dRed, m.dGreen, m.dBlue};
            for (int c = 0; mode == ConversionMode::Dither && c < 3; ++c) {
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

TEST(RgbaReduction, MatchesPlainRulesAroundTransparentPixels) {
    struct Size {
        std::uint32_t width, height;
    };
    for (const Size size : {Size{37, 23}, Size{1, 9}, Size{9, 1}, Size{6, 5}, Size{130, 17}}) {
        const Bytes rgba = RandomRgba(size.width, size.height, size.width * 31 + size.height, 160);
        const RgbaRows rows{rgba.data(), static_cast<std::ptrdiff_t>(4 * size.width), size.width,
                            size.height};
        for (const auto mode : kModes) {
            for (const auto black : kBlacks) {
                EXPECT_EQ(ReduceToGamePalette(rows, mode, black).pixels,
                          PlainRgbaReduction(rgba, size.width, size.height, mode, black).pixels)
                    << size.width << "x" << size.height << " mode " << static_cast<int>(mode)
                    << " black " << static_cast<int>(black);
            }
        }
    }
}

TEST(RgbaReduction, AlphaBelow128IsTransparent) {
    const std::uint8_t red = FindNearestIndex(200, 30, 30).index;
    const Bytes rgba = {200, 30,  30, 127, 200, 30,  30, 128, 0, 0,
                        0,   128, 0,  0,   0,   127, 0,  0,   0, 255};
    const RgbaRows rows{rgba.data(), 20, 5, 1};
    EXPECT_EQ(ReduceNearest(rows).pixels, (Bytes{0, red, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ReduceNearest(rows, BlackHandling::KeepVisible).pixels,
              (Bytes{0, red, 243, 0, 243, 0, 0, 0}));
}

// A 24-bit bitmap and PNG files of the same colours, without transparent pixels.
TEST(PictureFiles, OpaquePngConvertsLikeTheSameTrueColourBitmap) {
    constexpr std::uint32_t kWidth = 13, kHeight = 7;
    std::mt19937 random(3);
    std::vector<std::vector<Bgr>> rows(kHeight, std::vector<Bgr>(kWidth));
    PngPicture rgb = MakePng(kWidth, kHeight, kRgb, 8), rgba = MakePng(kWidth, kHeight, kRgba, 8);
    for (auto& row : rows) {
        for (Bgr& pixel : row) {
            pixel = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random() % 64),
                     static_cast<std::uint8_t>(random())};
            for (PngPicture* p : {&rgb, &rgba}) {
                p->samples.insert(p->samples.end(), {pixel.red, pixel.green, pixel.blue});
            }
            rgba.samples.push_back(255);
        }
    }
    const Bytes bitmap = BuildBitmap(TrueColourBitmap(rows));
    for (const auto mode : kModes) {
        for (const auto black : kBlacks) {
            const Bytes expected = DecodeBitmap(bitmap, mode, black).value().pixels;
            EXPECT_EQ(DecodePicture(bitmap, mode, black).value().pixels, expected);
            for (const PngPicture* p : {&rgb, &rgba}) {
                const auto image = DecodePicture(EncodeTestPng(*p), mode, black);
                ASSERT_TRUE(image.ok()) << image.error();
                EXPECT_EQ(image.value().width, 16u);
                EXPECT_EQ(image.value().pixels, expected);
            }
        }
    }
}

// Keep-black changes exactly the opaque pixels that would be 0, into 243, and nothing else,
// by either method, for PNG pictures and bitmaps alike.
TEST(PictureFiles, KeepBlackTurnsOnlyOpaqueZerosInto243) {
    constexpr std::uint32_t kWidth = 29, kHeight = 11;
    const Bytes rgba = RandomRgba(kWidth, kHeight, 9, 24);  // dark: many pixels match black
    PngPicture png = MakePng(kWidth, kHeight, kRgba, 8);
    std::vector<std::vector<Bgr>> rows(kHeight, std::vector<Bgr>(kWidth));
    for (std::size_t i = 0; i < rgba.size(); ++i) {
        png.samples.push_back(rgba[i]);
    }
    for (std::uint32_t p = 0; p < kWidth * kHeight; ++p) {
        rows[p / kWidth][p % kWidth] = {rgba[4 * p + 2], rgba[4 * p + 1], rgba[4 * p]};
    }
    const Bytes pngFile = EncodeTestPng(png), bitmap = BuildBitmap(TrueColourBitmap(rows));
    for (const auto mode : kModes) {
        for (const bool usePng : {true, false}) {
            const Bytes& file = usePng ? pngFile : bitmap;
            const Bytes plain = DecodePicture(file, mode, BlackHandling::AsSearched).value().pixels;
            Bytes expected = plain;
            int kept = 0;
            for (std::uint32_t p = 0; p < kWidth * kHeight; ++p) {
                const std::size_t at = p / kWidth * 32 + p % kWidth;
                if (plain[at] == 0 && (!usePng || rgba[4 * p + 3] >= 128)) {
                    expected[at] = 243;
                    ++kept;
                }
            }
            EXPECT_GT(kept, 10);
            EXPECT_EQ(DecodePicture(file, mode, BlackHandling::KeepVisible).value().pixels,
                      expected);
        }
    }
}

PngPicture GamePalettePng(std::uint32_t side) {
    PngPicture p = MakePng(side, side, kIndexed, 8);
    for (std::uint32_t i = 0; i < side * side; ++i) {
        p.samples.push_back(static_cast<std::uint16_t>(i % 256));
    }
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        const Bgr c = GameColour(static_cast<std::uint8_t>(i));
        p.palette.push_back({c.red, c.green, c.blue});
    }
    p.palette[0] = {9, 9, 9};  // entry 0 may differ
    return p;
}

TEST(PictureFiles, PngInTheGamePaletteIsTakenOverIndexForIndex) {
    PngPicture p = GamePalettePng(16);
    p.paletteAlpha.assign(38, 255);
    p.paletteAlpha[37] = 127;  // a transparent entry gives 0
    Bytes expected(256);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expected[i] = i == 37 ? 0 : (i >= 1 && i <= 10) ? 242 : static_cast<std::uint8_t>(i);
    }
    for (const auto mode : kModes) {
        for (const auto black : kBlacks) {
            EXPECT_EQ(DecodePicture(EncodeTestPng(p), mode, black).value().pixels, expected);
        }
    }
    // One entry off: converted, so black 243 becomes 0.
    p.palette[200][0] ^= 4;
    EXPECT_EQ(DecodePicture(EncodeTestPng(p), ConversionMode::Nearest, BlackHandling::AsSearched)
                  .value()
                  .pixels[243],
              0);
}

TEST(PictureFiles, PngWrittenAndReadBackGivesTheSameIndexes) {
    IndexedImage image{12, 5, {}};
    for (std::uint32_t i = 0; i < 60; ++i) {
        image.pixels.push_back(static_cast<std::uint8_t>(i * 37 % 245 + 11));
    }
    image.pixels[0] = 0;
    const auto file = png::EncodeIndexedPng(image);
    ASSERT_TRUE(file.ok());
    const png::DecodedPicture picture = png::DecodePng(file.value()).value();
    EXPECT_EQ(picture.paletteEntries, 256u);
    EXPECT_EQ(picture.palette[3], 0);    // index 0 transparent
    EXPECT_EQ(picture.palette[7], 255);  // the others opaque
    EXPECT_EQ(picture.palette[4 * 200 + 1], (kGameColours[200] >> 8) & 0xFF);
    const auto back =
        DecodePicture(file.value(), ConversionMode::Dither, BlackHandling::KeepVisible);
    EXPECT_EQ(back.value().width, 12u);
    EXPECT_EQ(back.value().pixels, image.pixels);
}

TEST(PictureFiles, SaveWritesPngByNameAndRefusesAnEmptyImage) {
    const TempFolder folder;
    ResetRecorder();
    CurrentImage() = IndexedImage{4, 2, {0, 20, 30, 40, 50, 60, 70, 243}};
    ASSERT_TRUE(SavePictureFile(folder.File("a.PnG")));
    ASSERT_TRUE(SavePictureFile(folder.File("a.bmp")));
    EXPECT_EQ(ReadTestFile(folder.File("a.PnG")), png::EncodeIndexedPng(CurrentImage()).value());
    EXPECT_EQ(ReadTestFile(folder.File("a.bmp")), EncodeBitmap(CurrentImage()).value());

    CurrentImage() = IndexedImage{};
    EXPECT_FALSE(SavePictureFile(folder.File("empty.png")));
    EXPECT_EQ(Recorded().fileErrors,
              std::vector<std::string>{"Unable to write " + folder.File("empty.png") +
                                       ": a PNG file cannot hold an image without pixels."});
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a.PnG", "a.bmp"}));
}

}  // namespace
}  // namespace quorvel::testing
