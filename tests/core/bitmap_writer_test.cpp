#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/bitmap_writer.h"
#include "core/game_palette.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(BitmapWriter, WritesRowsBottomUpPaddedWithZerosAfterTheGamePalette) {
    Bytes expected = {
        'B', 'M', 0x46, 4, 0,  0, 0, 0, 0, 0, 0x36, 4, 0, 0,        // 1094 bytes, pixels at 1078
        40,  0,   0,    0, 5,  0, 0, 0, 2, 0, 0,    0, 1, 0, 8, 0,  // 5 × 2, 1 plane, 8 bits
        0,   0,   0,    0, 16, 0, 0, 0, 0, 0, 0,    0, 0, 0, 0, 0,  // uncompressed, 16 bytes
        0,   1,   0,    0, 0,  1, 0, 0};                            // 256 colours, all important
    expected.insert(expected.end(), GamePalette.begin(), GamePalette.end());
    expected.insert(expected.end(), {6, 7, 8, 9, 10, 0, 0, 0, 1, 2, 3, 4, 5, 0, 0, 0});
    const Result<Bytes> file = EncodeBitmap(IndexedImage{5, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}});
    ASSERT_TRUE(file.ok()) << file.error();
    EXPECT_EQ(file.value(), expected);
}

TEST(BitmapWriter, RefusesImagesTheSizeFieldsCannotHold) {
    // The checks come before the pixels are looked at, so no buffer is needed. The largest
    // that fits: 1078 + 4 × 1073741554 = 2^32 - 2.
    const char* const tooLarge = "the image is too large for a bitmap file";
    const struct {
        std::uint32_t width, height;
        const char* reason;
    } cases[] = {{70000, 70000, tooLarge},
                 {0x80000000u, 0, tooLarge},
                 {0, 0x80000000u, tooLarge},
                 {3, 1073741555u, tooLarge},
                 {3, 1073741554u, "the image holds fewer pixels than its size says"}};
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeBitmap(IndexedImage{c.width, c.height, {}}).error(), c.reason);
    }
    testing::TempFolder folder;
    testing::ResetRecorder();
    CurrentImage() = IndexedImage{70000, 70000, {}};
    EXPECT_FALSE(SaveBitmapFile(folder.File("big.bmp")));
    EXPECT_EQ(testing::Recorded().fileErrors,
              std::vector<std::string>{"Unable to write " + folder.File("big.bmp") + ": " +
                                       tooLarge + "."});
    EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
}  // namespace quorvel
