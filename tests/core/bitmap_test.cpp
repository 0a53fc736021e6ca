// Bitmap files read in every encoding the reader takes, refused when malformed, and written.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

#include "core/bitmap_headers.h"
#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "core/game_palette.h"
#include "core/little_endian.h"
#include "core/nearest_index.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Change = std::function<void(BitmapFields&)>;
const Bytes kGamePalette(GamePalette.begin(), GamePalette.end());

IndexedImage Decode(const Bytes& file, ConversionMode mode = ConversionMode::Nearest) {
    Result<IndexedImage> image = DecodeBitmap(file, mode);
    EXPECT_TRUE(image.ok()) << image.error();
    return image.ok() ? std::move(image).value() : IndexedImage{};
}

// The rows of a 5 × 3 true-colour bitmap (stored with padding), and a 5 × 2 one in the game
// palette.
std::vector<std::vector<Bgr>> SmallRows() {
    std::vector<std::vector<Bgr>> rows(3, std::vector<Bgr>(5));
    for (std::uint8_t i = 0; i < 15; ++i) {
        rows[i / 5][i % 5] = {static_cast<std::uint8_t>(40 * i),
                              static_cast<std::uint8_t>(i / 5 * 80), 9};
    }
    return rows;
}

BitmapFields SmallPaletted() {
    return PalettedBitmap({{20, 30, 40, 50, 60}, {70, 80, 90, 100, 110}}, kGamePalette);
}

Bytes With(BitmapFields f, const Change& change) {
    change(f);
    return BuildBitmap(f);
}

// The first `length` bytes of `file`, with the size field telling the truth about them.
Bytes CutTo(Bytes file, std::size_t length) {
    file.resize(length);
    WriteU32(file.data() + 2, static_cast<std::uint32_t>(length));
    return file;
}

Bytes Rle(Bytes codes, std::int32_t width = 5, std::int32_t height = 2) {
    return With(SmallPaletted(), [&](BitmapFields& f) {
        f.compression = 1;
        f.width = width;
        f.height = height;
        f.pixels = std::move(codes);
    });
}

// 3 MiB of end-of-row codes and an end of bitmap: short enough for the bound relative to the
// codes' size, so only the fixed cap on the expanded rows can refuse the image.
Bytes LongRle(std::int32_t width, std::int32_t height) {
    Bytes codes(std::size_t{3} << 20, 0);
    codes.back() = 1;
    return Rle(std::move(codes), width, height);
}

const char* const kShort = "the file is shorter than its headers say";
const char* const kSizeField = "the file size in its header does not match its length";
const char* const kPastEdge = "its compressed pixels run past the edge of the image";
const char* const kBeyondCap = "its compressed pixels would expand to more than 256 MiB";

TEST(BitmapReader, RefusesMalformedFilesWithTheirReasonAndLoadsNothing) {
    const BitmapFields t = TrueColourBitmap(SmallRows()), p = SmallPaletted();
    const Bytes trueColour = BuildBitmap(t);
    const auto size = static_cast<std::uint32_t>(trueColour.size());
    // clang-format off
    const std::pair<Bytes, std::string> cases[] = {
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
        {Rle({0, 1}, 1000, 1000), "its compressed pixels would expand to more than 512 times their size"},
        // One row more than the cap, and the same with the rows rounded up to 4 bytes.
        {LongRle(16384, 16385), kBeyondCap},
        {LongRle(16381, 16385), kBeyondCap},
    };
    // clang-format on
    for (const auto& [file, reason] : cases) {
        const Result<IndexedImage> image = DecodeBitmap(file, ConversionMode::Dither);
        EXPECT_EQ(image.ok() ? "(decoded)" : image.error(), reason);
    }
    EXPECT_TRUE(ReadBitmapLayout(LongRle(16384, 16384)).ok());  // exactly at the cap

    // Loading one reports it and keeps the current image.
    TempFolder folder;
    const std::string bad = folder.File("bad.bmp");
    WriteTestFile(bad, Rle({0, 5, 1, 2}));
    CurrentImage() = IndexedImage{4, 1, {11, 12, 13, 14}};
    ResetRecorder();
    EXPECT_FALSE(LoadBitmapFile(bad, ConversionMode::Nearest));
    EXPECT_EQ(std::tuple(Recorded().fileErrors, CurrentImage().pixels, Recorded().repaintRequests),
              std::tuple(std::vector<std::string>{"Unable to read " + bad +
                                                  ": its compressed pixel data ends early."},
                         Bytes{11, 12, 13, 14}, 0));
}

TEST(BitmapReader, TakesOverGamePaletteBitmapsOnly) {
    // Width 5: the dirty padding becomes columns 5-7; indexes 1 to 10 become 242.
    BitmapFields f = PalettedBitmap({{0, 1, 10, 11, 250}, {242, 243, 5, 255, 100}}, kGamePalette);
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
    const BitmapFields g = PalettedBitmap({{250, 0, 57, 243}}, kGamePalette);
    EXPECT_EQ(Decode(With(g, [](auto& b) { b.palette[0] = b.palette[3] = 0x12; })).pixels,
              (Bytes{250, 0, 57, 243}));
    EXPECT_EQ(Decode(With(g, [](auto& b) { b.palette[4 * 5 + 3] = 1; })).pixels,
              (Bytes{242, 0, 57, 0}));
}

// Other encodings of the same pictures decode to the same indexes.
TEST(BitmapReader, DecodesEveryEncodingAsItsPlainEquivalent) {
    // 16 of 31 is 132; 33 of 63 is 134.
    const auto plainWithGreyGreen = [](std::uint8_t g) {
        return TrueColourBitmap(
            {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {132, g, 132}, {255, 255, 255}}});
    };
    const BitmapFields plain = plainWithGreyGreen(132);
    const std::vector<std::vector<Bgr>> rows = SmallRows();
    BitmapFields topDown = TrueColourBitmap({rows.rbegin(), rows.rend()});
    topDown.height = -3;
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
    // Rows of width 5 as some writers store them in RLE8: a literal of the 5 pixels, then a run
    // over the padding columns 5-7 (7 a white the game palette takes over).
    const auto padded = [](bool rle, bool gamePalette) {
        return With(SmallPaletted(), [&](BitmapFields& f) {
            f.compression = rle;
            f.palette[4 * 5 + 3] = gamePalette ? 0 : 1;
            f.pixels =
                rle ? Bytes{0, 5,  70, 80, 90, 100, 110, 0, 3,   7, 0, 0, 0,
                            5, 20, 30, 40, 50, 60,  0,   3, 200, 0, 0, 0, 1}
                    : Bytes{70, 80, 90, 100, 110, 7, 7, 7, 20, 30, 40, 50, 60, 200, 200, 200};
        });
    };
    struct Case {
        const char* name;
        Bytes file, same;
    };
    // clang-format off
    const Case cases[] = {
        {"top-down", BuildBitmap(topDown), BuildBitmap(TrueColourBitmap(rows))},
        {"16-bit 5-5-5", with(16, {}, {0x1F, 0, 0xE0, 3, 0, 0x7C, 0x10, 0x42, 0xFF, 0x7F, 0, 0}), BuildBitmap(plain)},
        {"16-bit 5-6-5 bit-fields", with(16, {0xF800, 0x07E0, 0x1F}, {0x1F, 0, 0xE0, 7, 0, 0xF8, 0x30, 0x84, 0xFF, 0xFF, 0, 0}), BuildBitmap(plainWithGreyGreen(134))},
        {"32-bit", with(32, {}, bgra), BuildBitmap(plain)},
        {"32-bit bit-fields", with(32, {0xFF000000, 0xFF0000, 0xFF00}, xbgr), BuildBitmap(plain)},
        {"RLE8 over the padding", padded(true, true), padded(false, true)},
        {"RLE8 over the padding, converted", padded(true, false), padded(false, false)},
        {"RLE8 move 2 right, 1 up", Rle({2, 70, 0, 2, 2, 1, 1, 20, 0, 1}), BuildBitmap(PalettedBitmap({{0, 0, 0, 0, 20}, {70, 70, 0, 0, 0}}, kGamePalette))},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.file, ConversionMode::Dither).pixels,
                  Decode(c.same, ConversionMode::Dither).pixels)
            << c.name;
    }
}

// Classic bottom-up files of many sizes, in true colour and through a shuffled palette, with junk
// in the padding: each pixel lands in its place and the rows are padded with index 0 (no rows,
// no padding).
TEST(BitmapReader, ClassicFilesOfEverySizeKeepEachPixelInPlace) {
    Bytes shuffled(1024);
    for (std::size_t i = 0; i < 1024; ++i) {
        shuffled[i] = GamePalette[(4 * (i / 4 * 97) + i % 4) % 1024];
    }
    for (const auto& [width, height] :
         {std::pair{1u, 5u}, {2u, 1u}, {3u, 5u}, {13u, 5u}, {6u, 0u}}) {
        std::vector<std::vector<Bgr>> colours(height, std::vector<Bgr>(width));
        std::vector<Bytes> indexes(height, Bytes(width));
        const std::size_t stride = (width + 3) / 4 * 4;
        Bytes expected(stride * height, 0);
        for (std::size_t at = 0; at < width * height; ++at) {
            const std::size_t x = at % width, y = at / width, e = 11 + (x * 31 + y * 57) % 231;
            const Bgr c = colours[y][x] = {GamePalette[4 * e], GamePalette[4 * e + 1],
                                           GamePalette[4 * e + 2]};
            expected[y * stride + x] = FindNearestIndexByScan(c.red, c.green, c.blue).index;
            indexes[y][x] = static_cast<std::uint8_t>(e * 161 % 256);  // 161 × 97 ≡ 1 (mod 256)
        }
        for (BitmapFields f : {TrueColourBitmap(colours), PalettedBitmap(indexes, shuffled)}) {
            const std::size_t used = width * f.bitCount / 8, rowBytes = (used + 3) / 4 * 4;
            f.width = static_cast<std::int32_t>(width);  // also with no rows
            for (std::size_t at = 0; at < f.pixels.size(); ++at) {
                f.pixels[at] = at % rowBytes < used ? f.pixels[at] : 0xEE;  // junk padding
            }
            for (ConversionMode mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
                const IndexedImage image = Decode(BuildBitmap(f), mode);
                const std::size_t wide = height == 0 ? width : stride;
                EXPECT_EQ(std::tie(image.width, image.height, image.pixels),
                          std::tie(wide, height, expected))
                    << width << " × " << height << " " << f.bitCount << " bits";
            }
        }
    }
}

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

// Saving writes the rows where they lie, small ones gathered and long ones straight: the file
// must still be the encoded one, across the gathering buffer's end and with padding.
TEST(BitmapWriter, SavesTheFileItEncodes) {
    TempFolder folder;
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {{5, 2}, {4097, 300}, {70001, 20}};
    for (const auto& [width, height] : sizes) {
        Bytes pixels(std::size_t{width} * height);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = static_cast<std::uint8_t>(i * 31 / 7);
        }
        CurrentImage() = IndexedImage{width, height, pixels};
        ASSERT_TRUE(SaveBitmapFile(folder.File("out.bmp")));
        EXPECT_EQ(ReadTestFile(folder.File("out.bmp")), EncodeBitmap(CurrentImage()).value())
            << width << " × " << height;
    }
}

TEST(BitmapWriter, RefusesImagesTheSizeFieldsCannotHold) {
    // The checks come before the pixels are looked at, so no buffer is needed. The largest
    // that fits: 1078 + 4 × 1073741554 = 2^32 - 2.
    const std::string tooLarge = "the image is too large for a bitmap file";
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {
        {70000, 70000}, {0x80000000u, 0}, {0, 0x80000000u}, {3, 1073741555u}};
    for (const auto& [width, height] : sizes) {
        EXPECT_EQ(EncodeBitmap(IndexedImage{width, height, {}}).error(), tooLarge);
    }
    EXPECT_EQ(EncodeBitmap(IndexedImage{3, 1073741554u, {}}).error(),
              "the image holds fewer pixels than its size says");
    TempFolder folder;
    ResetRecorder();
    CurrentImage() = IndexedImage{70000, 70000, {}};
    EXPECT_FALSE(SaveBitmapFile(folder.File("big.bmp")));
    EXPECT_EQ(Recorded().fileErrors,
              std::vector<std::string>{"Unable to write " + folder.File("big.bmp") + ": " +
                                       tooLarge + "."});
    EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
}  // namespace quorvel::testing
