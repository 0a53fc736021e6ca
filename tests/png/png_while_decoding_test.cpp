// Large PNG pictures reduced while their rows are decoded must give the bytes of the picture
// decoded whole, then reduced, and the same reason when the file is damaged part-way. The
// large pictures are written here with libspng, which only the Linux build has; the fixtures
// are read on both systems.

#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <spng.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "pictures/picture_file.h"
#include "pictures/png_while_decoding.h"
#include "tests/support/bitmap_builder.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

#if !defined(_WIN32)
// An RGBA PNG with smooth colours, black patches and transparent holes.
Bytes RgbaPng(std::uint32_t width, std::uint32_t height) {
    Bytes rgba(4 * std::size_t{width} * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint8_t* p = &rgba[4 * (std::size_t{y} * width + x)];
            const bool black = (x / 7 + y / 5) % 9 == 0;
            p[0] = black ? 0 : static_cast<std::uint8_t>(x * 3 + y);
            p[1] = black ? 0 : static_cast<std::uint8_t>(x ^ y);
            p[2] = black ? 0 : static_cast<std::uint8_t>(255 - y * 2);
            p[3] = (x * 5 + y * 3) % 13 == 0 ? 0 : 255;
        }
    }
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> ctx(spng_ctx_new(SPNG_CTX_ENCODER),
                                                            spng_ctx_free);
    spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{};
    ihdr.width = width;
    ihdr.height = height;
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    spng_set_ihdr(ctx.get(), &ihdr);
    int error =
        spng_encode_image(ctx.get(), rgba.data(), rgba.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    std::size_t length = 0;
    void* buffer = spng_get_png_buffer(ctx.get(), &length, &error);
    EXPECT_EQ(error, 0);
    Bytes file(static_cast<std::uint8_t*>(buffer), static_cast<std::uint8_t*>(buffer) + length);
    std::free(buffer);
    return file;
}

#endif

Result<IndexedImage> DecodedWhole(const Bytes& file, ConversionMode mode, BlackHandling black) {
    const Result<png::DecodedPicture> picture = png::DecodePng(file);
    if (!picture) {
        return Failure{picture.error()};
    }
    return ConvertPngPicture(picture.value(), mode, black);
}

#if !defined(_WIN32)
// Narrow and wide, a single row, and pictures taller than the ring of rows.
constexpr struct {
    std::uint32_t width, height;
} kSizes[] = {{1, 1}, {1, 70}, {7, 3}, {9, 41}, {301, 2}, {4096, 150}, {640, 480}};

TEST(PngWhileDecoding, GivesTheBytesOfThePictureDecodedWhole) {
    for (const auto size : kSizes) {
        const Bytes file = RgbaPng(size.width, size.height);
        for (const ConversionMode mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
            for (const BlackHandling black :
                 {BlackHandling::AsSearched, BlackHandling::KeepVisible}) {
                const auto streamed = ReduceWhileDecoding(file, mode, black, 2);
                ASSERT_TRUE(streamed.has_value());
                ASSERT_TRUE(streamed->ok()) << streamed->error();
                EXPECT_EQ(streamed->value().pixels, DecodedWhole(file, mode, black).value().pixels)
                    << size.width << "x" << size.height << " mode " << static_cast<int>(mode)
                    << " black " << static_cast<int>(black);
            }
        }
    }
}

TEST(PngWhileDecoding, DamagePartWayGivesTheReasonOfTheWholeDecoding) {
    const Bytes file = RgbaPng(640, 480);
    Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() / 2));
    Bytes flipped = file;
    flipped[file.size() / 2] ^= 0x55;  // in the pixel data: its checksum no longer holds
    for (const Bytes* damaged : {&cut, &flipped}) {
        const auto streamed =
            ReduceWhileDecoding(*damaged, ConversionMode::Dither, BlackHandling::AsSearched, 2);
        ASSERT_TRUE(streamed.has_value());
        ASSERT_FALSE(streamed->ok());
        const Result<IndexedImage> whole =
            DecodedWhole(*damaged, ConversionMode::Dither, BlackHandling::AsSearched);
        ASSERT_FALSE(whole.ok());
        EXPECT_EQ(streamed->error(), whole.error());
    }
}

#endif

// Every colour type and depth of the fixtures: those decoded through RGBA rows give what the
// whole decoding gives, the reason for damage included; paletted pictures are left to it, and
// so are interlaced ones where the decoder cannot give their rows in order.
TEST(PngWhileDecoding, AgreesWithTheWholeDecodingOnEveryFixture) {
    int streamedCount = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QUORVEL_PNG_DATA)) {
        const std::string name = entry.path().filename().string();
        const Bytes file = ReadTestFile(entry.path().string());
        const auto streamed =
            ReduceWhileDecoding(file, ConversionMode::Dither, BlackHandling::KeepVisible, 2);
        // Paletted as the decoder sees it: Wine's gives some grey pictures with tRNS a palette.
        const Result<png::DecodedPicture> decoded = png::DecodePng(file);
        const bool paletted = decoded && decoded.value().layout == png::PixelLayout::Paletted;
        if (paletted || !streamed) {
            EXPECT_TRUE(!streamed && (paletted || name.starts_with("damaged") ||
                                      name.find("interlaced") != std::string::npos))
                << name;
            continue;
        }
        ++streamedCount;
        const Result<IndexedImage> whole =
            DecodedWhole(file, ConversionMode::Dither, BlackHandling::KeepVisible);
        ASSERT_EQ(streamed->ok(), whole.ok()) << name;
        if (whole.ok()) {
            EXPECT_EQ(streamed->value().pixels, whole.value().pixels) << name;
        } else {
            EXPECT_EQ(streamed->error(), whole.error()) << name;
        }
    }
    EXPECT_GE(streamedCount, 15);
}

}  // namespace
}  // namespace quorvel::testing
