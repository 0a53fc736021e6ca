// The limits that keep a bitmap from making the reader hang or allocate out of proportion:
// the fixed cap on what RLE8 codes may expand to, and images that state a long side but hold
// no pixels at all.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "core/bitmap_headers.h"
#include "core/bitmap_reader.h"
#include "core/colour_reduction.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::BitmapFields;
using testing::BuildBitmap;

constexpr const char* kBeyondCap = "its compressed pixels would expand to more than 256 MiB";

// An RLE8 bitmap of the given size whose codes (ends of rows, then the end of the bitmap)
// take `codeBytes` bytes.
Bytes Rle8Bitmap(std::int32_t width, std::int32_t height, std::size_t codeBytes) {
    BitmapFields f;
    f.width = width;
    f.height = height;
    f.bitCount = 8;
    f.compression = 1;
    f.palette = testing::GamePaletteBytes();
    f.pixels.assign(codeBytes - 2, 0);
    f.pixels.push_back(0);
    f.pixels.push_back(1);
    return BuildBitmap(f);
}

TEST(BitmapReaderLimits, RefusesRle8ExpandingBeyond256MiB) {
    // 16384 × 16385 is one row more than the cap. 3 MiB of codes are more than enough for the
    // bound relative to the codes' size to allow it, so only the fixed cap refuses it.
    constexpr std::size_t kCodes = std::size_t{3} << 20;
    const Bytes file = Rle8Bitmap(16384, 16385, kCodes);
    const Result<IndexedImage> image = DecodeBitmap(file, ConversionMode::Nearest);
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error(), kBeyondCap);

    // Exactly at the cap the headers are accepted (decoding it is left out: 256 MiB).
    EXPECT_TRUE(ReadBitmapLayout(Rle8Bitmap(16384, 16384, kCodes)).ok());
    // Rows count rounded up to 4 bytes: 16381 columns take as much as 16384.
    EXPECT_EQ(DecodeBitmap(Rle8Bitmap(16381, 16385, kCodes), ConversionMode::Dither).error(),
              kBeyondCap);
}

TEST(BitmapReaderLimits, ReportsTheRle8CapWhenLoading) {
    testing::ResetRecorder();
    CurrentImage() = IndexedImage{4, 1, {11, 12, 13, 14}};
    testing::TempFolder folder;
    const std::string name = folder.File("huge-rle.bmp");
    testing::WriteTestFile(name, Rle8Bitmap(20000, 20000, std::size_t{3} << 20));

    EXPECT_FALSE(LoadBitmapFile(name, ConversionMode::Nearest));
    EXPECT_EQ(testing::Recorded().fileErrors,
              std::vector<std::string>{"Unable to read " + name + ": " + kBeyondCap + "."});
    EXPECT_EQ(CurrentImage().pixels, (Bytes{11, 12, 13, 14}));
    EXPECT_EQ(testing::Recorded().repaintRequests, 0);
}

struct PixellessCase {
    const char* name;
    std::uint16_t bitCount;
    std::uint32_t compression;
    Bytes palette;
    Bytes pixels;
};

std::vector<PixellessCase> PixellessCases() {
    Bytes otherPalette = testing::GamePaletteBytes();
    otherPalette[4 * 20] ^= 0xFF;
    return {
        {"8-bit in the game palette", 8, 0, testing::GamePaletteBytes(), {}},
        {"8-bit in another palette", 8, 0, otherPalette, {}},
        {"RLE8", 8, 1, otherPalette, {0, 1}},
        {"16-bit", 16, 0, {}, {}},
        {"24-bit", 24, 0, {}, {}},
        {"32-bit", 32, 0, {}, {}},
    };
}

// Width 2^31 - 1 with no rows once asked the dithering for error rows of 2^31 elements, and
// 2^31 - 1 rows of width 0 were walked one by one. Every encoding, either way up, in both
// modes: no pixel, so nothing to allocate or walk.
TEST(BitmapReaderLimits, ImagesWithoutPixelsDecodeAtOnceInEveryEncoding) {
    struct Size {
        std::int32_t width;
        std::int32_t height;
    };
    for (const PixellessCase& c : PixellessCases()) {
        for (const Size size : {Size{INT32_MAX, 0}, Size{0, INT32_MAX}, Size{0, -INT32_MAX}}) {
            // Compressed rows cannot be stored top to bottom, and a compressed image as wide
            // as this is refused outright: the dithering's error rows count against its codes.
            if (c.compression == 1 && (size.height < 0 || size.width != 0)) {
                continue;
            }
            BitmapFields f;
            f.width = size.width;
            f.height = size.height;
            f.bitCount = c.bitCount;
            f.compression = c.compression;
            f.palette = c.palette;
            f.pixels = c.pixels;
            const Bytes file = BuildBitmap(f);
            for (const ConversionMode mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
                const Result<IndexedImage> image = DecodeBitmap(file, mode);
                ASSERT_TRUE(image.ok()) << c.name << ": " << image.error();
                EXPECT_EQ(image.value().width,
                          ConvertedWidth(static_cast<std::uint32_t>(size.width)))
                    << c.name;
                EXPECT_EQ(image.value().height,
                          static_cast<std::uint32_t>(INT32_MAX) * (size.height != 0 ? 1u : 0u))
                    << c.name;
                EXPECT_TRUE(image.value().pixels.empty()) << c.name;
            }
        }
    }
}

}  // namespace
}  // namespace quorvel
