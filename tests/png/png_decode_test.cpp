// PNG files of every colour type and bit depth, interlaced or not, decoded to the colours the
// conversion sees; and damaged files refused with a reason and nothing changed.

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/colour_reduction.h"
#include "pictures/picture_file.h"
#include "png/png_codec.h"
#include "tests/png/png_maker.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Rgba = std::array<std::uint8_t, 4>;
using Samples = std::vector<std::uint16_t>;

// Entry i of the test palettes.
std::array<std::uint8_t, 3> Entry(std::size_t i) {
    return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
            static_cast<std::uint8_t>(i * 3)};
}

struct DecodeCase {
    const char* what;
    std::uint8_t colourType, bitDepth;
    Samples a, b;  // the two pixels of a checker board
    Rgba expectA, expectB;
    std::size_t paletteSize = 0;
    std::vector<std::uint8_t> paletteAlpha = {};
    std::optional<std::array<std::uint16_t, 3>> transparent = {};
};

Rgba Of(std::size_t i, std::uint8_t alpha = 255) {
    const auto e = Entry(i);
    return {e[0], e[1], e[2], alpha};
}

const DecodeCase kDecodeCases[] = {
    {"grey 1", kGrey, 1, {0}, {1}, {0, 0, 0, 255}, {255, 255, 255, 255}},
    {"grey 2", kGrey, 2, {1}, {2}, {85, 85, 85, 255}, {170, 170, 170, 255}},
    {"grey 4", kGrey, 4, {3}, {12}, {51, 51, 51, 255}, {204, 204, 204, 255}},
    {"grey 8 tRNS",
     kGrey,
     8,
     {7},
     {200},
     {7, 7, 7, 0},
     {200, 200, 200, 255},
     0,
     {},
     std::array<std::uint16_t, 3>{7, 0, 0}},
    // The 16-bit transparent value is matched on all 16 bits, not on the high byte shown.
    {"grey 16 tRNS",
     kGrey,
     16,
     {0x12FF},
     {0x1200},
     {0x12, 0x12, 0x12, 0},
     {0x12, 0x12, 0x12, 255},
     0,
     {},
     std::array<std::uint16_t, 3>{0x12FF, 0, 0}},
    {"grey+alpha 8", kGreyAlpha, 8, {50, 127}, {60, 128}, {50, 50, 50, 127}, {60, 60, 60, 128}},
    {"grey+alpha 16",
     kGreyAlpha,
     16,
     {0x34FF, 0x7FFF},
     {0xABCD, 0x8000},
     {0x34, 0x34, 0x34, 0x7F},
     {0xAB, 0xAB, 0xAB, 0x80}},
    {"rgb 8 tRNS",
     kRgb,
     8,
     {1, 2, 3},
     {250, 128, 0},
     {1, 2, 3, 0},
     {250, 128, 0, 255},
     0,
     {},
     std::array<std::uint16_t, 3>{1, 2, 3}},
    {"rgb 16",
     kRgb,
     16,
     {0x12FF, 0x3480, 0xFFFF},
     {0, 0x00FF, 0xFF00},
     {0x12, 0x34, 0xFF, 255},
     {0, 0, 0xFF, 255}},
    {"rgba 8", kRgba, 8, {10, 20, 30, 0}, {40, 50, 60, 255}, {10, 20, 30, 0}, {40, 50, 60, 255}},
    {"rgba 16",
     kRgba,
     16,
     {0x01FF, 0x02FF, 0x03FF, 0x80FF},
     {0xFFFF, 0, 0x7F00, 0x7FFF},
     {1, 2, 3, 0x80},
     {0xFF, 0, 0x7F, 0x7F}},
    {"indexed 1", kIndexed, 1, {0}, {1}, Of(0), Of(1), 2},
    {"indexed 2 tRNS", kIndexed, 2, {2}, {3}, Of(2, 0), Of(3), 4, {255, 255, 0}},
    {"indexed 4", kIndexed, 4, {9}, {15}, Of(9), Of(15), 16},
    {"indexed 8 tRNS",
     kIndexed,
     8,
     {200},
     {17},
     Of(200),
     Of(17, 128),
     256,
     {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 128}},
};

TEST(PngDecoding, EveryColourTypeAndDepthGivesTheStoredColours) {
    constexpr std::uint32_t kWidth = 5, kHeight = 3;
    for (const DecodeCase& c : kDecodeCases) {
        for (const bool interlaced : {false, true}) {
            PngPicture p = MakePng(kWidth, kHeight, c.colourType, c.bitDepth, interlaced);
            std::vector<std::uint8_t> rgba;
            for (std::uint32_t i = 0; i < kWidth * kHeight; ++i) {
                const bool isA = (i % kWidth + i / kWidth) % 2 == 0;
                p.samples.insert(p.samples.end(), (isA ? c.a : c.b).begin(),
                                 (isA ? c.a : c.b).end());
                const Rgba& e = isA ? c.expectA : c.expectB;
                rgba.insert(rgba.end(), e.begin(), e.end());
            }
            for (std::size_t i = 0; i < c.paletteSize; ++i) {
                p.palette.push_back(Entry(i));
            }
            p.paletteAlpha = c.paletteAlpha;
            p.transparentColour = c.transparent;
            const std::string what = std::string(c.what) + (interlaced ? " interlaced" : "");

            const auto decoded = png::DecodePng(EncodeTestPng(p));
            ASSERT_TRUE(decoded.ok()) << what << ": " << decoded.error();
            const png::DecodedPicture& picture = decoded.value();
            ASSERT_EQ(picture.width, kWidth);
            ASSERT_EQ(picture.height, kHeight);
            std::vector<std::uint8_t> got = picture.pixels;
            if (picture.layout == png::PixelLayout::Paletted) {
                got.clear();
                for (const std::uint8_t i : picture.pixels) {
                    got.insert(got.end(), &picture.palette[4 * i], &picture.palette[4 * i + 4]);
                }
            }
            EXPECT_EQ(got, rgba) << what;
            EXPECT_EQ(picture.layout == png::PixelLayout::Paletted, c.colourType == kIndexed)
                << what;

            // The picture converts as its colours in RGBA rows do, paletted or not.
            const RgbaRows rows{rgba.data(), 4 * kWidth, kWidth, kHeight};
            for (const auto mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
                const auto image = ConvertPngPicture(picture, mode, BlackHandling::AsSearched);
                ASSERT_TRUE(image.ok()) << what;
                EXPECT_EQ(image.value().pixels, ReduceToGamePalette(rows, mode).pixels) << what;
            }
        }
    }
}

// A valid 8-bit RGB picture to damage.
std::vector<std::uint8_t> SmallPng() {
    PngPicture p = MakePng(6, 4, kRgb, 8);
    for (int i = 0; i < 6 * 4 * 3; ++i) {
        p.samples.push_back(static_cast<std::uint16_t>(i * 7 % 256));
    }
    return EncodeTestPng(p);
}

void SetIhdr(std::vector<std::uint8_t>& file, std::size_t field, std::vector<std::uint8_t> value) {
    const std::size_t ihdr = ChunkOffset(file, "IHDR");
    std::copy(value.begin(), value.end(), file.begin() + ihdr + 8 + field);
    FixChunkCrc(file, ihdr);
}

struct DamageCase {
    const char* what;
    std::vector<std::uint8_t> (*make)();
    const char* reason;  // part of the message, or "" for any reason
};

const DamageCase kDamageCases[] = {
    {"cut inside the pixel data",
     [] {
         auto f = SmallPng();
         f.resize(ChunkOffset(f, "IDAT") + 20);
         return f;
     },
     "damaged"},
    {"pixel data with a wrong checksum",
     [] {
         auto f = SmallPng();
         f[ChunkOffset(f, "IDAT") + 10] ^= 0x40;
         return f;
     },
     "damaged"},
    {"compressed data broken, checksum fixed",
     [] {
         auto f = SmallPng();
         const std::size_t idat = ChunkOffset(f, "IDAT");
         f[idat + 8] = 0xFF;
         f[idat + 9] = 0xFF;
         FixChunkCrc(f, idat);
         return f;
     },
     "damaged"},
    {"width 0",
     [] {
         auto f = SmallPng();
         SetIhdr(f, 0, {0, 0, 0, 0});
         return f;
     },
     "damaged"},
    {"RGB of 4 bits",
     [] {
         auto f = SmallPng();
         SetIhdr(f, 8, {4});
         return f;
     },
     "damaged"},
    {"8193 x 8192, over 256 MiB decoded",
     [] {
         auto f = SmallPng();
         SetIhdr(f, 0, {0, 0, 0x20, 0x01, 0, 0, 0x20, 0});
         return f;
     },
     "8193 × 8192 pixels would take more than 256 MiB"},
    {"an index past the palette",
     [] {
         PngPicture p = MakePng(3, 1, kIndexed, 8);
         p.samples = {0, 1, 2};
         p.palette = {Entry(0), Entry(1)};
         return EncodeTestPng(p);
     },
     "a pixel refers to a colour its palette does not have"},
    {"the signature alone",
     [] { return std::vector<std::uint8_t>(png::kSignature.begin(), png::kSignature.end()); },
     "damaged"},
};

TEST(PngDecoding, DamagedFilesAreRefusedWithNothingChanged) {
    const TempFolder folder;
    for (const DamageCase& c : kDamageCases) {
        const std::string name = folder.File("bad.png");
        WriteTestFile(name, c.make());
        ResetRecorder();
        CurrentImage() = IndexedImage{4, 1, {7, 8, 9, 10}};
        EXPECT_FALSE(LoadPictureFile(name, ConversionMode::Dither, BlackHandling::KeepVisible))
            << c.what;
        ASSERT_EQ(Recorded().fileErrors.size(), 1u) << c.what;
        const std::string& message = Recorded().fileErrors[0];
        EXPECT_EQ(message.rfind("Unable to read " + name + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << c.what << ": " << message;
        EXPECT_EQ(message.back(), '.');
        EXPECT_EQ(Recorded().repaintRequests, 0);
        EXPECT_EQ(CurrentImage().pixels, (std::vector<std::uint8_t>{7, 8, 9, 10})) << c.what;
    }
}

}  // namespace
}  // namespace quorvel::testing
