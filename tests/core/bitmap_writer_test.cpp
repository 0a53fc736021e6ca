#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/bitmap_writer.h"
#include "core/game_palette.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32At(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

Bytes Encode(const IndexedImage& image) {
    Result<Bytes> file = EncodeBitmap(image);
    EXPECT_TRUE(file.ok()) << file.error();
    return file.ok() ? std::move(file).value() : Bytes{};
}

TEST(BitmapWriter, FourByTwoImage) {
    const Bytes file = Encode(IndexedImage{4, 2, {11, 12, 13, 14, 21, 22, 23, 24}});
    ASSERT_EQ(file.size(), 1086u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 2), (Bytes{'B', 'M'}));
    // Offset and value of each 32-bit field; planes and bit count share the one at 26.
    const std::pair<std::size_t, std::uint32_t> fields[] = {
        {2, 1086}, {6, 0},  {10, 1078}, {14, 40}, {18, 4},   {22, 2},  {26, 0x80001},
        {30, 0},   {34, 8}, {38, 0},    {42, 0},  {46, 256}, {50, 256}};
    for (const auto& [at, value] : fields) {
        EXPECT_EQ(U32At(file, at), value) << "at " << at;
    }
    EXPECT_TRUE(std::equal(GamePalette.begin(), GamePalette.end(), file.begin() + 54));
    EXPECT_EQ(Bytes(file.end() - 8, file.end()), (Bytes{21, 22, 23, 24, 11, 12, 13, 14}));
}

TEST(BitmapWriter, PadsRowsOfWidthFive) {
    const Bytes file = Encode(IndexedImage{5, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}});
    EXPECT_EQ(U32At(file, 2), 1094u);
    EXPECT_EQ(U32At(file, 34), 16u);
    EXPECT_EQ(Bytes(file.begin() + 1078, file.end()),
              (Bytes{6, 7, 8, 9, 10, 0, 0, 0, 1, 2, 3, 4, 5, 0, 0, 0}));
}

TEST(BitmapWriter, RefusesImagesTooLargeForTheSizeFields) {
    // The checks come before the pixels are looked at, so no buffer is needed.
    for (const auto& [width, height] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
             {70000, 70000}, {0x80000000u, 0}, {0, 0x80000000u}, {3, 1073741555u}}) {
        EXPECT_EQ(EncodeBitmap(IndexedImage{width, height, {}}).error(),
                  "the image is too large for a bitmap file");
    }
    // The largest that fits: 1078 + 4 × 1073741554 = 2^32 - 2.
    EXPECT_EQ(EncodeBitmap(IndexedImage{3, 1073741554u, {}}).error(),
              "the image holds fewer pixels than its size says");
}

TEST(BitmapWriter, SavingATooLargeImageIsReportedAndWritesNothing) {
    testing::TempFolder folder;
    testing::ResetRecorder();
    CurrentImage() = IndexedImage{70000, 70000, {}};
    EXPECT_FALSE(SaveBitmapFile(folder.File("big.bmp")));
    EXPECT_EQ(testing::Recorded().fileErrors,
              std::vector<std::string>{"Unable to write " + folder.File("big.bmp") +
                                       ": the image is too large for a bitmap file."});
    EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
}  // namespace quorvel
