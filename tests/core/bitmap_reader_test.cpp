#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/colour_reduction.h"
#include "core/flip_rows.h"
#include "core/game_palette.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel {
namespace {

using testing::Bgr;
using testing::BitmapFields;
using testing::BuildBitmap;
using testing::GamePaletteBytes;
using testing::PalettedBitmap;
using Bytes = std::vector<std::uint8_t>;
using Change = std::function<void(BitmapFields&)>;

IndexedImage Decode(const Bytes& file, ConversionMode mode = ConversionMode::Nearest) {
    Result<IndexedImage> image = DecodeBitmap(file, mode);
    EXPECT_TRUE(image.ok()) << image.error();
    return image.ok() ? std::move(image).value() : IndexedImage{};
}

// A 5 × 3 true-colour bitmap (rows carry padding) and a 5 × 2 one in the game palette.
BitmapFields SmallTrueColour() {
    std::vector<std::vector<Bgr>> rows(3, std::vector<Bgr>(5));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            rows[y][x] = {static_cast<std::uint8_t>(40 * x), static_cast<std::uint8_t>(80 * y),
                          static_cast<std::uint8_t>(200 - 30 * x)};
        }
    }
    return testing::TrueColourBitmap(rows);
}

BitmapFields SmallPaletted() {
    return PalettedBitmap({{20, 30, 40, 50, 60}, {70, 80, 90, 100, 110}}, GamePaletteBytes());
}

// RLE8 codes for the image of SmallPaletted (bottom row first).
const Bytes kSmallRle = {0, 5,  70, 80, 90, 100, 110, 0, 0, 0, 0,
                         5, 20, 30, 40, 50, 60,  0,   0, 0, 0, 1};

Bytes With(BitmapFields f, const Change& change) {
    change(f);
    return BuildBitmap(f);
}

// The first `length` bytes of `file`, with the size field telling the truth about them.
Bytes CutTo(Bytes file, std::size_t length) {
    file.resize(length);
    for (std::size_t i = 0; i < 4; ++i) {
        file[2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    return file;
}

Bytes Rle(Bytes codes) {
    return With(SmallPaletted(), [&](BitmapFields& f) {
        f.compression = 1;
        f.pixels = codes;
    });
}

struct Malformed {
    Bytes file;
    const char* reason;
};

const char* const kShort = "the file is shorter than its headers say";
const char* const kSizeField = "the file size in its header does not match its length";
const char* const kPastEdge = "its compressed pixels run past the edge of the image";

std::vector<Malformed> MalformedFiles() {
    const BitmapFields t = SmallTrueColour(), p = SmallPaletted();
    const Bytes trueColour = BuildBitmap(t);
    const auto size = static_cast<std::uint32_t>(trueColour.size());
    // clang-format off
    return {
        {CutTo(trueColour, 14), "the file is too short to be a bitmap"},
        {With(t, [](auto& f) { f.type[0] = 'P'; }), "it is not a bitmap file"},
        {With(t, [&](auto& f) { f.fileSize = size + 1; }), kSizeField},
        {With(t, [&](auto& f) { f.fileSize = size - 1; }), kSizeField},
        {With(t, [](auto& f) { f.bitCount = 4; }), "it has 4 bits per pixel; only 8, 16, 24 and 32 can be read"},
        {CutTo(BuildBitmap(p), 600), kShort},
        {CutTo(trueColour, trueColour.size() - 1), kShort},
        {With(t, [](auto& f) { f.width = f.height = 100000; }), kShort},
        {With(t, [](auto& f) { f.width = INT32_MAX; f.height = -INT32_MAX; f.bitCount = 32; }), kShort},
        {With(t, [](auto& f) { f.height = INT_MIN; }), "its height is out of range"},
        {With(t, [](auto& f) { f.pixelOffset = 40; }), "its pixel data starts inside its headers"},
        {With(p, [](auto& f) { f.coloursUsed = 100; f.palette.resize(400); }), "a pixel refers to a colour its palette does not have"},
        {With(p, [](auto& f) { f.compression = 3; }), "its compression does not suit its bit count"},
        {Rle({9, 70, 0, 1}), kPastEdge},
        {Rle({0, 2, 9, 0, 0, 1}), kPastEdge},
        {Rle({0, 5, 1, 2}), "its compressed pixel data ends early"},
    };
    // clang-format on
}

TEST(BitmapReader, RefusesMalformedFilesWithTheirReason) {
    for (const Malformed& m : MalformedFiles()) {
        const Result<IndexedImage> image = DecodeBitmap(m.file, ConversionMode::Dither);
        EXPECT_EQ(image.ok() ? "(decoded)" : image.error(), m.reason);
    }
}

TEST(BitmapReader, LoadingReportsTheFileAndKeepsTheCurrentImage) {
    testing::TempFolder folder;
    const std::string bad = folder.File("bad.bmp"), missing = folder.File("missing.bmp");
    testing::WriteTestFile(bad, MalformedFiles().back().file);
    CurrentImage() = IndexedImage{4, 1, {11, 12, 13, 14}};
    testing::ResetRecorder();
    EXPECT_FALSE(LoadBitmapFile(bad, ConversionMode::Nearest));
    EXPECT_FALSE(LoadBitmapFile(missing, ConversionMode::Nearest));
    EXPECT_EQ(testing::Recorded().fileErrors,
              (std::vector<std::string>{
                  "Unable to read " + bad + ": its compressed pixel data ends early.",
                  "Unable to open " + missing + " for read."}));
    EXPECT_EQ(CurrentImage().pixels, (Bytes{11, 12, 13, 14}));
    EXPECT_EQ(testing::Recorded().repaintRequests, 0);
}

TEST(BitmapReader, TakesOverGamePaletteBitmapsOnly) {
    // Width 5: the dirty padding becomes columns 5-7; indexes 1 to 10 become 242.
    BitmapFields f =
        PalettedBitmap({{0, 1, 10, 11, 250}, {242, 243, 5, 255, 100}}, GamePaletteBytes());
    f.pixels = {242, 243, 5, 255, 100, 3, 200, 7, 0, 1, 10, 11, 250, 9, 0, 255};
    const Bytes takenOver = {0,   242, 242, 11,  250, 242, 0,   255,
                             242, 243, 242, 255, 100, 242, 200, 242};
    for (ConversionMode mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
        const IndexedImage image = Decode(BuildBitmap(f), mode);
        EXPECT_EQ(image.width, 8u);
        EXPECT_EQ(image.pixels, takenOver);
    }
    // Entry 0 may differ; any other difference (here entry 5's reserved byte) means conversion,
    // which turns white 250 into 242.
    const BitmapFields g = PalettedBitmap({{250, 0, 57, 243}}, GamePaletteBytes());
    EXPECT_EQ(Decode(With(g, [](auto& b) { b.palette[0] = b.palette[3] = 0x12; })).pixels,
              (Bytes{250, 0, 57, 243}));
    EXPECT_EQ(Decode(With(g, [](auto& b) { b.palette[4 * 5 + 3] = 1; })).pixels,
              (Bytes{242, 0, 57, 0}));
}

// Other encodings of the same pictures decode to the same indexes.
TEST(BitmapReader, DecodesEveryEncodingAsItsPlainEquivalent) {
    // 16 of 31 is 132; 33 of 63 is 134.
    const auto plainWithGreyGreen = [](std::uint8_t g) {
        return testing::TrueColourBitmap(
            {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {132, g, 132}, {255, 255, 255}}});
    };
    const BitmapFields plain = plainWithGreyGreen(132);
    BitmapFields topDown = SmallTrueColour(), bottomUp = SmallTrueColour();
    topDown.height = -3;
    for (int row = 0; row < 3; ++row) {
        std::copy_n(bottomUp.pixels.begin() + 16 * (2 - row), 16,
                    topDown.pixels.begin() + 16 * row);
    }
    const auto with = [&](std::uint16_t bits, std::vector<std::uint32_t> masks, Bytes pixels) {
        return With(plain, [&](BitmapFields& f) {
            f.bitCount = bits;
            f.compression = masks.empty() ? 0 : 3;
            f.masks = masks;
            f.pixels = pixels;
        });
    };
    const Bytes bgra = {255, 0, 0,   0,   0,   255, 0,   0,   0,   0,
                        255, 0, 132, 132, 132, 0,   255, 255, 255, 0};
    Bytes xbgr = bgra;  // the same stored as unused, blue, green, red
    std::rotate(xbgr.begin(), xbgr.end() - 1, xbgr.end());
    struct Case {
        const char* name;
        Bytes file, same;
    };
    // clang-format off
    const Case cases[] = {
        {"top-down", BuildBitmap(topDown), BuildBitmap(bottomUp)},
        {"16-bit 5-5-5", with(16, {}, {0x1F, 0, 0xE0, 3, 0, 0x7C, 0x10, 0x42, 0xFF, 0x7F, 0, 0}), BuildBitmap(plain)},
        {"16-bit 5-6-5 bit-fields", with(16, {0xF800, 0x07E0, 0x1F}, {0x1F, 0, 0xE0, 7, 0, 0xF8, 0x30, 0x84, 0xFF, 0xFF, 0, 0}), BuildBitmap(plainWithGreyGreen(134))},
        {"32-bit", with(32, {}, bgra), BuildBitmap(plain)},
        {"32-bit bit-fields", with(32, {0xFF000000, 0xFF0000, 0xFF00}, xbgr), BuildBitmap(plain)},
        {"RLE8", Rle(kSmallRle), BuildBitmap(SmallPaletted())},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.file, ConversionMode::Dither).pixels,
                  Decode(c.same, ConversionMode::Dither).pixels)
            << c.name;
    }
}

// The reading of a classic file done the long way: flip a copy of the rows, then take it
// over or reduce it.
IndexedImage ByFlippedCopy(const Bytes& file, std::uint32_t width, std::uint32_t height,
                           int bitCount, ConversionMode mode) {
    const std::size_t stride = (width * (bitCount / 8) + 3) / 4 * 4;
    Bytes flipped(stride * height);
    FlipRows(file.data() + (bitCount == 8 ? 1078 : 54), flipped.data(), stride, height);
    const auto s = static_cast<std::ptrdiff_t>(stride);
    if (bitCount == 24) {
        return ReduceToGamePalette(TrueColourRows{flipped.data(), s, width, height}, mode);
    }
    const std::uint8_t* palette = file.data() + 54;
    if (std::equal(palette + 4, palette + 1024, GamePalette.begin() + 4)) {
        for (auto& v : flipped) {
            v = (v >= 1 && v <= 10) ? 242 : v;
        }
        return IndexedImage{static_cast<std::uint32_t>(stride), height, flipped};
    }
    return ReduceToGamePalette(PalettedRows{flipped.data(), s, width, height, palette}, mode);
}

TEST(BitmapReader, ClassicFilesReadAsFlippedRowsWould) {
    std::mt19937 random(42);
    const auto fill = [&](Bytes& bytes) {
        for (auto& v : bytes) {
            v = static_cast<std::uint8_t>(random());  // padding bytes too
        }
    };
    Bytes otherPalette(1024);
    fill(otherPalette);
    for (std::uint32_t width : {1u, 3u, 5u, 6u, 13u}) {
        for (std::uint32_t height : {0u, 1u, 5u}) {
            for (int bitCount : {8, 24}) {
                for (const Bytes& palette : {GamePaletteBytes(), otherPalette}) {
                    BitmapFields f;
                    f.width = static_cast<std::int32_t>(width);
                    f.height = static_cast<std::int32_t>(height);
                    f.bitCount = static_cast<std::uint16_t>(bitCount);
                    f.pixels.resize((width * (bitCount / 8) + 3) / 4 * 4 * height);
                    fill(f.pixels);
                    f.palette = bitCount == 8 ? palette : Bytes{};
                    const Bytes file = BuildBitmap(f);
                    for (ConversionMode mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
                        const IndexedImage expected =
                            ByFlippedCopy(file, width, height, bitCount, mode);
                        const IndexedImage image = Decode(file, mode);
                        EXPECT_EQ(image.width, expected.width);
                        EXPECT_EQ(image.height, expected.height);
                        EXPECT_EQ(image.pixels, expected.pixels) << width << " × " << height;
                    }
                }
            }
        }
    }
}

// As two common writers store 8-bit RLE rows of width 37: each row a literal of its 37
// pixels, then a run over the padding columns 37-39, then the end of the row.
TEST(BitmapReader, Rle8CodesMayFillThePaddingAsStoredRowsDo) {
    constexpr std::uint32_t kWidth = 37, kStride = 40, kHeight = 2;
    Bytes codes, stored;  // stored: the same rows uncompressed, padding included
    for (std::uint32_t y = 0; y < kHeight; ++y) {
        const auto pad = static_cast<std::uint8_t>(y == 0 ? 200 : 7);  // 7: a white taken over
        codes.insert(codes.end(), {0, kWidth});
        for (std::uint32_t x = 0; x < kStride; ++x) {
            stored.push_back(x < kWidth ? static_cast<std::uint8_t>(11 + 5 * x + y) : pad);
        }
        codes.insert(codes.end(), stored.end() - kStride, stored.end() - 3);
        codes.insert(codes.end(), {0, 3, pad, 0, 0});
    }
    codes.insert(codes.end(), {0, 1});
    Bytes otherPalette = GamePaletteBytes();
    otherPalette[4 * 5 + 3] = 1;
    for (const Bytes& palette : {GamePaletteBytes(), otherPalette}) {
        BitmapFields f;
        f.width = kWidth;
        f.height = kHeight;
        f.bitCount = 8;
        f.palette = palette;
        f.pixels = stored;
        const Bytes plain = BuildBitmap(f);
        f.compression = 1;
        f.pixels = codes;
        for (ConversionMode mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
            const IndexedImage image = Decode(BuildBitmap(f), mode);
            EXPECT_EQ(image.pixels, Decode(plain, mode).pixels);
            const bool takenOver = palette == GamePaletteBytes();
            EXPECT_EQ(image.pixels[kStride - 1], takenOver ? 242 : 0);  // the top row's padding
            EXPECT_EQ(image.pixels[2 * kStride - 1], takenOver ? 200 : 0);
        }
    }
    // A 1000 × 1000 image from a single end-of-bitmap code.
    BitmapFields huge = SmallPaletted();
    huge.width = huge.height = 1000;
    huge.compression = 1;
    huge.pixels = {0, 1};
    EXPECT_EQ(DecodeBitmap(BuildBitmap(huge), ConversionMode::Nearest).error(),
              "its compressed pixels would expand to more than 512 times their size");
}

}  // namespace
}  // namespace quorvel
