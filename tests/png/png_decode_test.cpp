// PNG files of every colour type and bit depth, interlaced or not, decoded to the colours the
// reduction sees; damaged files refused with a reason and nothing changed.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/colour_reduction.h"
#include "pictures/picture_file.h"
#include "tests/png/png_maker.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Rgba = std::array<std::uint8_t, 4>;

// Entry i of the test palettes is (i, 255 - i, 3i).
Rgba Entry(unsigned i, std::uint8_t alpha = 255) {
    return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
            static_cast<std::uint8_t>(3 * i), alpha};
}

struct DecodeCase {
    const char* what;
    std::uint8_t colourType, bitDepth;
    std::vector<std::uint16_t> a, b;  // the samples of the two pixels of a checker board
    Rgba expectA, expectB;
    unsigned paletteSize = 0;
    Bytes trns = {};
};

const DecodeCase kDecodeCases[] = {
    {"grey 1", kGrey, 1, {0}, {1}, {0, 0, 0, 255}, {255, 255, 255, 255}},
    {"grey 2", kGrey, 2, {1}, {2}, {85, 85, 85, 255}, {170, 170, 170, 255}},
    {"grey 4", kGrey, 4, {3}, {12}, {51, 51, 51, 255}, {204, 204, 204, 255}},
    {"grey 8 tRNS", kGrey, 8, {7}, {200}, {7, 7, 7, 0}, {200, 200, 200, 255}, 0, {0, 7}},
    // The transparent 16-bit value is matched on all 16 bits, not on the high byte kept.
    {"grey 16 tRNS",
     kGrey,
     16,
     {0x12FF},
     {0x1200},
     {18, 18, 18, 0},
     {18, 18, 18, 255},
     0,
     {0x12, 0xFF}},
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
     {0, 1, 0, 2, 0, 3}},
    {"rgb 16",
     kRgb,
     16,
     {0x12FF, 0x3480, 0xFFFF},
     {0, 0xFF, 0xFF00},
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
    {"indexed 1", kIndexed, 1, {0}, {1}, Entry(0), Entry(1), 2},
    {"indexed 2 tRNS", kIndexed, 2, {2}, {3}, Entry(2, 0), Entry(3), 4, {255, 255, 0}},
    {"indexed 4", kIndexed, 4, {9}, {15}, Entry(9), Entry(15), 16},
    {"indexed 8 tRNS", kIndexed, 8, {200}, {1}, Entry(200), Entry(1, 128), 256, {255, 128}},
};

class PngColourTypes : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(PngColourTypes, DecodeToTheStoredColours) {
    constexpr std::uint32_t kWidth = 5, kHeight = 3;
    const DecodeCase& c = GetParam();
    if (RunsUnderWine() && c.colourType == kIndexed && c.bitDepth < 8) {
        GTEST_SKIP() << "Wine's WIC refuses 4-bit paletted PNGs and gives wrong palettes for 1 and "
                        "2 bits";
    }
    {
        for (const bool interlaced : {false, true}) {
            PngPicture p{kWidth, kHeight, c.colourType, c.bitDepth, {}, interlaced, {}, c.trns};
            Bytes rgba;
            for (std::uint32_t i = 0; i < kWidth * kHeight; ++i) {
                const bool isA = (i % kWidth + i / kWidth) % 2 == 0;
                p.samples.insert(p.samples.end(), (isA ? c.a : c.b).begin(),
                                 (isA ? c.a : c.b).end());
                rgba.insert(rgba.end(), (isA ? c.expectA : c.expectB).begin(),
                            (isA ? c.expectA : c.expectB).end());
            }
            for (unsigned i = 0; i < c.paletteSize; ++i) {
                const Rgba entry = Entry(i);
                p.palette.insert(p.palette.end(), entry.begin(), entry.begin() + 3);
            }
            const std::string what = std::string(c.what) + (interlaced ? " interlaced" : "");
            const auto decoded = png::DecodePng(EncodeTestPng(p));
            ASSERT_TRUE(decoded.ok()) << what << ": " << decoded.error();
            const png::DecodedPicture& picture = decoded.value();
            Bytes got = picture.pixels;
            if (picture.layout == png::PixelLayout::Paletted) {
                got.clear();
                for (const std::uint8_t i : picture.pixels) {
                    got.insert(got.end(), &picture.palette[4 * i], &picture.palette[4 * i + 4]);
                }
            }
            EXPECT_EQ(got, rgba) << what;
            // Paletted or not, the picture converts as its colours do in RGBA rows.
            const RgbaRows rows{rgba.data(), 4 * kWidth, kWidth, kHeight};
            for (const auto mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
                EXPECT_EQ(
                    ConvertPngPicture(picture, mode, BlackHandling::AsSearched).value().pixels,
                    ReduceToGamePalette(rows, mode).pixels)
                    << what;
            }
        }
    }
}

struct Damage {
    const char* what;
    const char* chunk;  // "" for the two cases made whole
    std::size_t at;
    Bytes bytes;
    bool fixChecksum;
    const char* reason = "its PNG data is damaged";
};

// Each damages a valid 6 x 4 RGB picture.
const Damage kDamages[] = {
    // Bits of a stored block's header that deflate ignores: only the checksum tells.
    {"pixel data with a wrong checksum", "IDAT", 2, {0x41}, false},
    {"broken compressed data", "IDAT", 0, {0xFF, 0xFF}, true},
    {"width 0", "IHDR", 0, {0, 0, 0, 0}, true},
    {"RGB of 4 bits", "IHDR", 8, {4}, true},
    {"8193 x 8192", "IHDR", 0, {0, 0, 32, 1, 0, 0, 32, 0}, true, "8193 × 8192 pixels would take"},
    {"cut inside the pixel data", "", 0, {}, false},
    {"an index past the palette", "", 0, {}, false, "a pixel refers to a colour its palette"},
};

class DamagedPngFiles : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedPngFiles, AreRefusedWithNothingChanged) {
    const TempFolder folder;
    const std::string name = folder.File("bad.png");
    const Damage& d = GetParam();
    if (RunsUnderWine() && !d.fixChecksum && *d.chunk != 0) {
        GTEST_SKIP() << "Wine's WIC does not check the checksum of the pixel data";
    }
    {
        Bytes file = EncodeTestPng({6, 4, kRgb, 8, std::vector<std::uint16_t>(72, 9)});
        if (*d.chunk != 0) {
            PatchChunk(file, d.chunk, d.at, d.bytes, d.fixChecksum);
        } else if (d.what[0] == 'c') {
            file.resize(60);
        } else {
            file = EncodeTestPng({3, 1, kIndexed, 8, {0, 1, 2}, false, {1, 2, 3, 4, 5, 6}});
        }
        WriteTestFile(name, file);
        ResetRecorder();
        CurrentImage() = IndexedImage{4, 1, {7, 8, 9, 10}};
        EXPECT_FALSE(LoadPictureFile(name, ConversionMode::Dither, BlackHandling::KeepVisible));
        ASSERT_EQ(Recorded().fileErrors.size(), 1u) << d.what;
        const std::string& message = Recorded().fileErrors[0];
        EXPECT_EQ(message.rfind("Unable to read " + name + ": ", 0), 0u) << message;
        EXPECT_TRUE(message.find(d.reason) != std::string::npos && message.back() == '.')
            << message;
        EXPECT_EQ(Recorded().repaintRequests, 0);
        EXPECT_EQ(CurrentImage().pixels, (Bytes{7, 8, 9, 10})) << d.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Png, PngColourTypes, ::testing::ValuesIn(kDecodeCases));
INSTANTIATE_TEST_SUITE_P(Png, DamagedPngFiles, ::testing::ValuesIn(kDamages));

}  // namespace
}  // namespace quorvel::testing
