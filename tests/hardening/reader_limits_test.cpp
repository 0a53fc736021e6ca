// The fixed cap on what RLE8 codes may expand to, which keeps a small file from making the
// reader allocate out of proportion.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/bitmap_headers.h"
#include "core/bitmap_reader.h"
#include "tests/support/bitmap_builder.h"

namespace quorvel {
namespace {

// An RLE8 bitmap whose 3 MiB of codes (ends of rows, then the end of the bitmap) are enough
// for the bound relative to the codes' size, so only the fixed cap can refuse it.
std::vector<std::uint8_t> Rle8Bitmap(std::int32_t width, std::int32_t height) {
    testing::BitmapFields f;
    f.width = width;
    f.height = height;
    f.bitCount = 8;
    f.compression = 1;
    f.palette = testing::GamePaletteBytes();
    f.pixels.assign(std::size_t{3} << 20, 0);
    f.pixels.back() = 1;
    return testing::BuildBitmap(f);
}

TEST(BitmapReaderLimits, RefusesRle8ExpandingBeyond256MiB) {
    const char* const beyond = "its compressed pixels would expand to more than 256 MiB";
    // 16384 × 16385 is one row more than the cap; rows count rounded up to 4 bytes.
    EXPECT_EQ(DecodeBitmap(Rle8Bitmap(16384, 16385), ConversionMode::Nearest).error(), beyond);
    EXPECT_EQ(DecodeBitmap(Rle8Bitmap(16381, 16385), ConversionMode::Dither).error(), beyond);
    EXPECT_TRUE(ReadBitmapLayout(Rle8Bitmap(16384, 16384)).ok());  // exactly at the cap
}

}  // namespace
}  // namespace quorvel
