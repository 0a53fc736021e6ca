#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "core/file_operations.h"
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

std::uint16_t U16At(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

Bytes Encode(const IndexedImage& image) {
    Result<Bytes> file = EncodeBitmap(image);
    EXPECT_TRUE(file.ok()) << file.error();
    return file.ok() ? std::move(file).value() : Bytes{};
}

TEST(BitmapWriter, FourByTwoImage) {
    const Bytes file = Encode(IndexedImage{4, 2, {11, 12, 13, 14, 21, 22, 23, 24}});
    ASSERT_EQ(file.size(), 1086u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32At(file, 2), 1086u);   // file size
    EXPECT_EQ(U32At(file, 6), 0u);      // reserved
    EXPECT_EQ(U32At(file, 10), 1078u);  // pixel offset
    EXPECT_EQ(U32At(file, 14), 40u);    // info header size
    EXPECT_EQ(U32At(file, 18), 4u);     // width
    EXPECT_EQ(U32At(file, 22), 2u);     // height, positive: bottom-up
    EXPECT_EQ(U16At(file, 26), 1);      // planes
    EXPECT_EQ(U16At(file, 28), 8);      // bits per pixel
    EXPECT_EQ(U32At(file, 30), 0u);     // no compression
    EXPECT_EQ(U32At(file, 34), 8u);     // image size
    EXPECT_EQ(U32At(file, 38), 0u);     // resolutions
    EXPECT_EQ(U32At(file, 42), 0u);
    EXPECT_EQ(U32At(file, 46), 256u);  // colours used
    EXPECT_EQ(U32At(file, 50), 256u);  // colours important
    EXPECT_TRUE(std::equal(GamePalette.begin(), GamePalette.end(), file.begin() + 54));
    EXPECT_EQ(Bytes(file.end() - 8, file.end()), (Bytes{21, 22, 23, 24, 11, 12, 13, 14}));
}

TEST(BitmapWriter, NoImageGivesHeadersAndPaletteOnly) {
    const Bytes file = Encode(IndexedImage{});
    EXPECT_EQ(file.size(), 1078u);
    EXPECT_EQ(U32At(file, 2), 1078u);
    EXPECT_EQ(U32At(file, 18), 0u);
    EXPECT_EQ(U32At(file, 22), 0u);
    EXPECT_EQ(U32At(file, 34), 0u);
}

TEST(BitmapWriter, PadsRowsOfWidthFive) {
    const Bytes file = Encode(IndexedImage{5, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}});
    EXPECT_EQ(file.size(), 1078u + 16);
    EXPECT_EQ(U32At(file, 2), 1094u);
    EXPECT_EQ(U32At(file, 18), 5u);
    EXPECT_EQ(U32At(file, 34), 16u);
    EXPECT_EQ(Bytes(file.begin() + 1078, file.end()),
              (Bytes{6, 7, 8, 9, 10, 0, 0, 0, 1, 2, 3, 4, 5, 0, 0, 0}));
}

TEST(BitmapWriter, RefusesImagesTooLargeForTheSizeFields) {
    // The checks come before the pixels are looked at, so no buffer is needed.
    for (const auto& [width, height] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
             {70000, 70000}, {0x80000000u, 0}, {0, 0x80000000u}, {65536, 65536}}) {
        const Result<Bytes> file = EncodeBitmap(IndexedImage{width, height, {}});
        ASSERT_FALSE(file.ok()) << width << " × " << height;
        EXPECT_EQ(file.error(), "the image is too large for a bitmap file");
    }
    // The largest that fits: 1078 + 4 × 1073741554 = 2^32 - 2, with a padded row of 4.
    EXPECT_EQ(EncodeBitmap(IndexedImage{3, 1073741554u, {}}).error(),
              "the image holds fewer pixels than its size says");
    EXPECT_EQ(EncodeBitmap(IndexedImage{3, 1073741555u, {}}).error(),
              "the image is too large for a bitmap file");
}

TEST(BitmapWriter, ReadsBackUnchangedButForWhiteDuplicates) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> byte(0, 255);
    IndexedImage image{12, 7, Bytes(84)};
    for (auto& v : image.pixels) {
        v = static_cast<std::uint8_t>(byte(random));
    }
    const Result<IndexedImage> back = DecodeBitmap(Encode(image), ConversionMode::Dither);
    ASSERT_TRUE(back.ok()) << back.error();
    EXPECT_EQ(back.value().width, 12u);
    EXPECT_EQ(back.value().height, 7u);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const std::uint8_t v = image.pixels[i];
        EXPECT_EQ(back.value().pixels[i], v >= 1 && v <= 10 ? 242 : v) << i;
    }
}

TEST(BitmapWriter, ReadsBackANarrowImageWithZeroColumns) {
    const IndexedImage image{5, 2, {11, 12, 13, 14, 15, 21, 22, 23, 24, 25}};
    const Result<IndexedImage> back = DecodeBitmap(Encode(image), ConversionMode::Nearest);
    ASSERT_TRUE(back.ok()) << back.error();
    EXPECT_EQ(back.value().width, 8u);
    EXPECT_EQ(back.value().pixels,
              (Bytes{11, 12, 13, 14, 15, 0, 0, 0, 21, 22, 23, 24, 25, 0, 0, 0}));
}

class SaveBitmapFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetRecorder();
        CurrentImage() = IndexedImage{4, 2, {11, 12, 13, 14, 21, 22, 23, 24}};
    }
    std::vector<std::string> Errors() const { return testing::Recorded().fileErrors; }
    testing::TempFolder folder;
};

TEST_F(SaveBitmapFileTest, WritesTheEncodedImage) {
    const std::string name = folder.File("out.bmp");
    EXPECT_TRUE(SaveBitmapFile(name));
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(testing::ReadTestFile(name), Encode(CurrentImage()));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.bmp"});
}

TEST_F(SaveBitmapFileTest, WithNoImageWritesTheBareFile) {
    CurrentImage() = IndexedImage{};
    const std::string name = folder.File("empty.bmp");
    EXPECT_TRUE(SaveBitmapFile(name));
    EXPECT_EQ(testing::ReadTestFile(name).size(), 1078u);
}

TEST_F(SaveBitmapFileTest, ReportsAFolderThatDoesNotExist) {
    const std::string name = folder.File("missing/out.bmp");
    EXPECT_FALSE(SaveBitmapFile(name));
    EXPECT_EQ(Errors(), std::vector<std::string>{"Unable to open " + name + " for write."});
}

TEST_F(SaveBitmapFileTest, ReportsAnImageTooLargeAndWritesNothing) {
    CurrentImage() = IndexedImage{70000, 70000, {}};
    const std::string name = folder.File("big.bmp");
    EXPECT_FALSE(SaveBitmapFile(name));
    EXPECT_EQ(Errors(), std::vector<std::string>{"Unable to write " + name +
                                                 ": the image is too large for a bitmap file."});
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(SaveBitmapFileTest, AFailedWriteKeepsTheEarlierFile) {
    const std::string name = folder.File("keep.bmp");
    testing::WriteTestFile(name, {1, 2, 3});
    FileOperations failing = SystemFileOperations();
    failing.write = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    {
        ScopedFileOperations scoped(failing);
        EXPECT_FALSE(SaveBitmapFile(name));
    }
    EXPECT_EQ(Errors(), std::vector<std::string>{"Unable to write " + name + "."});
    EXPECT_EQ(testing::ReadTestFile(name), (Bytes{1, 2, 3}));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"keep.bmp"});
}

}  // namespace
}  // namespace quorvel
