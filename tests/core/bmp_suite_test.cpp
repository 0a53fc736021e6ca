// The public BMP Suite: every "good" file of a depth this reader handles must decode, every
// "bad" file must be refused with a reason, and the "questionable" ones may go either way
// but must never crash.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/bitmap_reader.h"
#include "core/file_access.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

const fs::path kSuite = QUORVEL_BMPSUITE_DIR;

// Files in g/ this reader refuses on purpose: fewer than 8 bits per pixel.
bool BelowEightBits(const std::string& name) {
    return name.rfind("pal1", 0) == 0 || name.rfind("pal4", 0) == 0;
}

std::map<std::string, Result<IndexedImage>> DecodeFolder(const char* folder, ConversionMode mode) {
    std::map<std::string, Result<IndexedImage>> results;
    for (const auto& entry : fs::directory_iterator(kSuite / folder)) {
        const FileReadResult file = ReadWholeFile(entry.path().string());
        EXPECT_EQ(file.problem, FileProblem::None) << entry.path();
        results.emplace(entry.path().filename().string(), DecodeBitmap(file.bytes, mode));
    }
    return results;
}

TEST(BmpSuite, GoodFilesOfReadableDepthsDecode) {
    for (ConversionMode mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
        const auto results = DecodeFolder("g", mode);
        ASSERT_GE(results.size(), 20u);
        for (const auto& [name, result] : results) {
            if (BelowEightBits(name)) {
                ASSERT_FALSE(result.ok()) << name;
                EXPECT_NE(result.error().find("per pixel"), std::string::npos) << name;
                continue;
            }
            ASSERT_TRUE(result.ok()) << name << ": " << result.error();
            const IndexedImage& image = result.value();
            EXPECT_TRUE(image.width == 124 || image.width == 128) << name;  // rounded up to 4
            EXPECT_GT(image.height, 30u) << name;
            EXPECT_EQ(image.pixels.size(), std::size_t{image.width} * image.height) << name;
        }
    }
}

TEST(BmpSuite, GoodFilesOfOneDepthAgree) {
    // The same picture in different encodings reduces to nearly the same indexes: compare
    // each with the plain 24-bit file, pixel by pixel, allowing a few differences where a
    // 16-bit or paletted source lost precision.
    const auto results = DecodeFolder("g", ConversionMode::Nearest);
    const IndexedImage& reference = results.at("rgb24.bmp").value();
    for (const char* name : {"rgb32.bmp", "rgb32bf.bmp", "rgb32bfdef.bmp", "rgb24pal.bmp"}) {
        EXPECT_EQ(results.at(name).value().pixels, reference.pixels) << name;
    }
    for (const char* name : {"pal8.bmp", "pal8rle.bmp", "pal8topdown.bmp", "pal8v4.bmp",
                             "pal8v5.bmp", "pal8os2.bmp", "pal8-0.bmp"}) {
        EXPECT_EQ(results.at(name).value().pixels, results.at("pal8.bmp").value().pixels) << name;
    }
    for (const char* name : {"rgb16.bmp", "rgb16bfdef.bmp", "rgb16-565.bmp", "rgb16-565pal.bmp"}) {
        const auto& pixels = results.at(name).value().pixels;
        ASSERT_EQ(pixels.size(), reference.pixels.size()) << name;
        std::size_t same = 0;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            same += pixels[i] == reference.pixels[i];
        }
        EXPECT_GT(same, pixels.size() * 8 / 10) << name;
    }
}

TEST(BmpSuite, BadFilesAreRefused) {
    const auto results = DecodeFolder("b", ConversionMode::Dither);
    ASSERT_GE(results.size(), 15u);
    for (const auto& [name, result] : results) {
        EXPECT_FALSE(result.ok()) << name;
        if (!result.ok()) {
            EXPECT_FALSE(result.error().empty()) << name;
        }
    }
}

TEST(BmpSuite, QuestionableFilesDecodeOrAreRefused) {
    const auto results = DecodeFolder("q", ConversionMode::Dither);
    ASSERT_GE(results.size(), 30u);
    for (const auto& [name, result] : results) {
        if (result.ok()) {
            EXPECT_EQ(result.value().pixels.size(),
                      std::size_t{result.value().width} * result.value().height)
                << name;
        } else {
            EXPECT_FALSE(result.error().empty()) << name;
        }
    }
}

}  // namespace
}  // namespace quorvel
