#include <gtest/gtest.h>

#include <array>
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
using testing::GameColour;
using testing::GamePaletteBytes;
using testing::PalettedBitmap;
using testing::TrueColourBitmap;
using Bytes = std::vector<std::uint8_t>;

IndexedImage Decode(const Bytes& file, ConversionMode mode = ConversionMode::Nearest) {
    Result<IndexedImage> image = DecodeBitmap(file, mode);
    EXPECT_TRUE(image.ok()) << image.error();
    return image.ok() ? std::move(image).value() : IndexedImage{};
}

std::string Refusal(const Bytes& file) {
    const Result<IndexedImage> image = DecodeBitmap(file, ConversionMode::Nearest);
    return image.ok() ? "(decoded)" : image.error();
}

// A small valid 24-bit bitmap: 5 × 3, so rows carry padding.
BitmapFields SmallTrueColour() {
    std::vector<std::vector<Bgr>> rows(3, std::vector<Bgr>(5));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            rows[y][x] = {static_cast<std::uint8_t>(40 * x), static_cast<std::uint8_t>(80 * y),
                          static_cast<std::uint8_t>(200 - 30 * x)};
        }
    }
    return TrueColourBitmap(rows);
}

BitmapFields SmallPaletted() {
    return PalettedBitmap({{20, 30, 40, 50, 60}, {70, 80, 90, 100, 110}}, GamePaletteBytes());
}

// RLE8 codes for the 5 × 2 image of SmallPaletted (bottom row first).
Bytes SmallRle() {
    return {0, 5, 70, 80, 90, 100, 110, 0, 0, 0, 0, 5, 20, 30, 40, 50, 60, 0, 0, 0, 0, 1};
}

BitmapFields Masked(std::uint16_t bitCount, std::vector<std::uint32_t> masks, Bytes pixels) {
    BitmapFields f;
    f.width = 1;
    f.height = 1;
    f.bitCount = bitCount;
    f.compression = 3;
    f.masks = std::move(masks);
    f.pixels = std::move(pixels);
    return f;
}

using Change = std::function<void(BitmapFields&)>;

Bytes TrueColourWith(const Change& change) {
    BitmapFields f = SmallTrueColour();
    change(f);
    return BuildBitmap(f);
}

Bytes PalettedWith(const Change& change) {
    BitmapFields f = SmallPaletted();
    change(f);
    return BuildBitmap(f);
}

Bytes RleWith(Bytes codes) {
    return PalettedWith([&](BitmapFields& f) {
        f.compression = 1;
        f.pixels = codes;
    });
}

Bytes MaskedWith(std::uint16_t bitCount, std::vector<std::uint32_t> masks) {
    return BuildBitmap(Masked(bitCount, std::move(masks), {0, 0, 0, 0}));
}

// The first `length` bytes of `file`, with the size field telling the truth about them.
Bytes CutTo(Bytes file, std::size_t length) {
    file.resize(length);
    for (std::size_t i = 0; i < 4 && length > 2 + i; ++i) {
        file[2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    return file;
}

struct MalformedCase {
    const char* name;
    std::function<Bytes()> build;
    const char* reason;
};

const char* const kShort = "the file is shorter than its headers say";
const char* const kPastEdge = "its compressed pixels run past the edge of the image";
const char* const kEndsEarly = "its compressed pixel data ends early";

// Each case is a valid file with one thing changed.
const std::vector<MalformedCase>& MalformedCases() {
    static const Bytes trueColour = BuildBitmap(SmallTrueColour());
    static const Bytes paletted = BuildBitmap(SmallPaletted());
    static const auto length = static_cast<std::uint32_t>(trueColour.size());
    // clang-format off
    static const std::vector<MalformedCase> cases = {
        {"Empty", [] { return Bytes{}; }, "the file is too short to be a bitmap"},
        {"FileHeaderOnly", [] { return CutTo(trueColour, 14); }, "the file is too short to be a bitmap"},
        {"NotABitmap", [] { return TrueColourWith([](auto& f) { f.type[0] = 'P'; }); }, "it is not a bitmap file"},
        {"SizeFieldOneMore", [] { return TrueColourWith([](auto& f) { f.fileSize = length + 1; }); },
         "the file size in its header does not match its length"},
        {"SizeFieldOneLess", [] { return TrueColourWith([](auto& f) { f.fileSize = length - 1; }); },
         "the file size in its header does not match its length"},
        {"InfoHeaderSizeCut", [] { return CutTo(trueColour, 16); }, kShort},
        {"InfoHeaderCut", [] { return CutTo(trueColour, 30); }, kShort},
        {"UnknownInfoHeaderSize", [] { return TrueColourWith([](auto& f) { f.infoSize = 64; }); },
         "its info header has an unknown size (64 bytes)"},
        {"FourBitsPerPixel", [] { return TrueColourWith([](auto& f) { f.bitCount = 4; }); },
         "it has 4 bits per pixel; only 8, 16, 24 and 32 can be read"},
        {"OneBitPerPixel", [] { return TrueColourWith([](auto& f) { f.bitCount = 1; }); },
         "it has 1 bit per pixel; only 8, 16, 24 and 32 can be read"},
        {"TwelveBitsPerPixel", [] { return TrueColourWith([](auto& f) { f.bitCount = 12; }); },
         "it has 12 bits per pixel; only 8, 16, 24 and 32 can be read"},
        {"RowsCut", [] { return CutTo(trueColour, trueColour.size() - 1); }, kShort},
        {"PaletteCut", [] { return CutTo(paletted, 600); }, kShort},
        {"HugeWidthTimesHeight", [] { return TrueColourWith([](auto& f) { f.width = f.height = 100000; }); }, kShort},
        {"LargestSizes", [] { return TrueColourWith([](auto& f) { f.width = INT32_MAX; f.height = -INT32_MAX; f.bitCount = 32; }); }, kShort},
        {"NegativeWidth", [] { return TrueColourWith([](auto& f) { f.width = -5; }); }, "its width is negative"},
        {"SmallestHeight", [] { return TrueColourWith([](auto& f) { f.height = INT_MIN; }); }, "its height is out of range"},
        {"PixelOffsetInsideHeaders", [] { return TrueColourWith([](auto& f) { f.pixelOffset = 40; }); },
         "its pixel data starts inside its headers"},
        {"PixelOffsetPastTheEnd", [] { return TrueColourWith([](auto& f) { f.pixelOffset = 5000; }); }, kShort},
        {"PaletteOver256Colours", [] { return PalettedWith([](auto& f) { f.coloursUsed = 257; }); },
         "its palette has more than 256 colours"},
        {"IndexBeyondPalette", [] { return PalettedWith([](auto& f) { f.coloursUsed = 100; f.palette.resize(400); }); },
         "a pixel refers to a colour its palette does not have"},
        {"JpegCompression", [] { return TrueColourWith([](auto& f) { f.compression = 4; }); },
         "its pixels are compressed in a way this reader does not support"},
        {"Rle8OnTrueColour", [] { return TrueColourWith([](auto& f) { f.compression = 1; }); },
         "its compression does not suit its bit count"},
        {"BitFieldsOnEightBits", [] { return PalettedWith([](auto& f) { f.compression = 3; }); },
         "its compression does not suit its bit count"},
        {"EmptyMask", [] { return MaskedWith(16, {0xF800, 0x07E0, 0}); }, "one of its colour masks is empty"},
        {"MaskWiderThanPixel", [] { return MaskedWith(16, {0x1F0000, 0x07E0, 0x1F}); },
         "one of its colour masks is wider than its pixels"},
        {"BrokenMask", [] { return MaskedWith(32, {0xFF0000, 0xF0F0, 0xFF}); },
         "one of its colour masks is not a single run of bits"},
        {"MasksCut", [] { return CutTo(MaskedWith(32, {0xFF0000, 0xFF00, 0xFF}), 60); }, kShort},
        {"RleRunPastRowEnd", [] { return RleWith({6, 70, 0, 1}); }, kPastEdge},
        {"RleLiteralPastRowEnd", [] { return RleWith({2, 1, 0, 4, 1, 2, 3, 4, 0, 1}); }, kPastEdge},
        {"RlePastLastRow", [] { return RleWith({0, 0, 0, 0, 1, 9, 0, 1}); }, kPastEdge},
        {"RleDeltaPastEdge", [] { return RleWith({0, 2, 6, 0, 0, 1}); }, kPastEdge},
        {"RleEndsEarly", [] { return RleWith({5, 70, 0, 0}); }, kEndsEarly},
        {"RleLiteralCut", [] { return RleWith({0, 5, 1, 2}); }, kEndsEarly},
        {"RleTopDown", [] { return PalettedWith([](auto& f) { f.compression = 1; f.height = -2; f.pixels = SmallRle(); }); },
         "its compressed rows are marked as stored top to bottom"},
        {"RleExpandsTooFar", [] { return PalettedWith([](auto& f) { f.compression = 1; f.width = f.height = 60000; f.pixels = {0, 1}; }); },
         kShort},
        {"RleTooWideForItsCodes", [] { return PalettedWith([](auto& f) { f.compression = 1; f.width = 100000; f.height = 1; f.pixels = {0, 1}; }); },
         kShort},
    };
    // clang-format on
    return cases;
}

TEST(BitmapReader, RefusesMalformedFilesWithTheirReason) {
    for (const MalformedCase& c : MalformedCases()) {
        EXPECT_EQ(Refusal(c.build()), c.reason) << c.name;
    }
}

TEST(BitmapReader, MalformedCasesStartFromValidFiles) {
    // Each case above changes one thing; the unchanged files decode.
    EXPECT_EQ(Refusal(BuildBitmap(SmallTrueColour())), "(decoded)");
    EXPECT_EQ(Refusal(BuildBitmap(SmallPaletted())), "(decoded)");
    EXPECT_EQ(Refusal(RleWith(SmallRle())), "(decoded)");
    EXPECT_EQ(Refusal(MaskedWith(16, {0xF800, 0x07E0, 0x1F})), "(decoded)");
}

class LoadBitmapFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetRecorder();
        CurrentImage() = IndexedImage{3, 1, {11, 12, 13}};
    }
    void ExpectUnchanged() {
        EXPECT_EQ(CurrentImage().width, 3u);
        EXPECT_EQ(CurrentImage().pixels, (Bytes{11, 12, 13}));
        EXPECT_EQ(testing::Recorded().repaintRequests, 0);
    }
    testing::TempFolder folder;
};

TEST_F(LoadBitmapFileTest, ReplacesTheCurrentImageAndAsksForARepaint) {
    const std::string name = folder.File("small.bmp");
    testing::WriteTestFile(name, BuildBitmap(SmallPaletted()));
    EXPECT_TRUE(LoadBitmapFile(name, ConversionMode::Nearest));
    EXPECT_EQ(CurrentImage().width, 8u);
    EXPECT_EQ(CurrentImage().height, 2u);
    EXPECT_EQ(CurrentImage().pixels,
              (Bytes{20, 30, 40, 50, 60, 0, 0, 0, 70, 80, 90, 100, 110, 0, 0, 0}));
    EXPECT_EQ(testing::Recorded().repaintRequests, 1);
    EXPECT_TRUE(testing::Recorded().fileErrors.empty());
}

TEST_F(LoadBitmapFileTest, ReportsAFileThatCannotBeOpened) {
    const std::string name = folder.File("missing.bmp");
    EXPECT_FALSE(LoadBitmapFile(name, ConversionMode::Nearest));
    EXPECT_EQ(testing::Recorded().fileErrors,
              std::vector<std::string>{"Unable to open " + name + " for read."});
    ExpectUnchanged();
}

TEST_F(LoadBitmapFileTest, ReportsEveryMalformedFileAndKeepsTheImage) {
    const std::string name = folder.File("bad.bmp");
    for (const MalformedCase& c : MalformedCases()) {
        testing::ResetRecorder();
        testing::WriteTestFile(name, c.build());
        EXPECT_FALSE(LoadBitmapFile(name, ConversionMode::Dither)) << c.name;
        EXPECT_EQ(testing::Recorded().fileErrors,
                  std::vector<std::string>{"Unable to read " + name + ": " + c.reason + "."})
            << c.name;
        ExpectUnchanged();
    }
}

// The reading of a classic file done the long way: flip a copy of the rows, then take it
// over or reduce it.
IndexedImage ClassicByFlippedCopy(const Bytes& file, std::uint32_t width, std::uint32_t height,
                                  int bitCount, ConversionMode mode) {
    const std::size_t stride = (width * (bitCount / 8) + 3) / 4 * 4;
    const std::size_t offset = bitCount == 8 ? 1078 : 54;
    Bytes flipped(stride * height);
    FlipRows(file.data() + offset, flipped.data(), stride, height);
    if (bitCount == 24) {
        return ReduceToGamePalette(
            TrueColourRows{flipped.data(), static_cast<std::ptrdiff_t>(stride), width, height},
            mode);
    }
    const std::uint8_t* palette = file.data() + 54;
    if (std::equal(palette + 4, palette + 1024, GamePalette.begin() + 4)) {
        for (auto& v : flipped) {
            v = (v >= 1 && v <= 10) ? 242 : v;
        }
        return IndexedImage{static_cast<std::uint32_t>(stride), height, flipped};
    }
    return ReduceToGamePalette(
        PalettedRows{flipped.data(), static_cast<std::ptrdiff_t>(stride), width, height, palette},
        mode);
}

TEST(BitmapReader, ClassicFilesReadAsFlippedRowsWould) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> byte(0, 255);
    const Bytes gamePalette = GamePaletteBytes();
    Bytes otherPalette(1024);
    for (auto& v : otherPalette) {
        v = static_cast<std::uint8_t>(byte(random));
    }
    for (std::uint32_t width : {1u, 3u, 4u, 5u, 6u, 7u, 13u}) {
        for (std::uint32_t height : {0u, 1u, 2u, 5u}) {
            BitmapFields f;
            f.width = static_cast<std::int32_t>(width);
            f.height = static_cast<std::int32_t>(height);
            for (int bitCount : {8, 24}) {
                f.bitCount = static_cast<std::uint16_t>(bitCount);
                const std::size_t stride = (width * (bitCount / 8) + 3) / 4 * 4;
                f.pixels.resize(stride * height);
                for (auto& v : f.pixels) {
                    v = static_cast<std::uint8_t>(byte(random));  // padding bytes too
                }
                for (const Bytes* palette :
                     std::array<const Bytes*, 2>{&gamePalette, &otherPalette}) {
                    f.palette = bitCount == 8 ? *palette : Bytes{};
                    const Bytes file = BuildBitmap(f);
                    for (ConversionMode mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
                        const IndexedImage expected =
                            ClassicByFlippedCopy(file, width, height, bitCount, mode);
                        const IndexedImage image = Decode(file, mode);
                        EXPECT_EQ(image.width, expected.width);
                        EXPECT_EQ(image.height, expected.height);
                        EXPECT_EQ(image.pixels, expected.pixels)
                            << width << " × " << height << " at " << bitCount << " bits";
                    }
                }
            }
        }
    }
}

TEST(BitmapReader, TakesOverGamePaletteBitmapsWithTheirPadding) {
    // Width 5: three padding bytes per row, which become image columns 5-7.
    BitmapFields f =
        PalettedBitmap({{0, 1, 10, 11, 250}, {242, 243, 5, 255, 100}}, GamePaletteBytes());
    f.pixels = {242, 243, 5,  255, 100, 3, 200, 7,  // bottom row, dirty padding
                0,   1,   10, 11,  250, 9, 0,   255};
    for (ConversionMode mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
        const IndexedImage image = Decode(BuildBitmap(f), mode);
        EXPECT_EQ(image.width, 8u);
        EXPECT_EQ(image.height, 2u);
        EXPECT_EQ(image.pixels, (Bytes{0, 242, 242, 11, 250, 242, 0, 255,  //
                                       242, 243, 242, 255, 100, 242, 200, 242}));
    }
}

TEST(BitmapReader, TakeOverIgnoresPaletteEntryZero) {
    BitmapFields f = PalettedBitmap({{250, 0, 7, 200}}, GamePaletteBytes());
    f.palette[0] = 0x12;
    f.palette[1] = 0x34;
    f.palette[2] = 0x56;
    f.palette[3] = 0x78;
    EXPECT_EQ(Decode(BuildBitmap(f)).pixels, (Bytes{250, 0, 242, 200}));
}

TEST(BitmapReader, AnyOtherPaletteDifferenceMeansConversion) {
    // Index 250 is white; taken over it stays 250, converted it becomes 242.
    const auto decodeWith = [](const std::function<void(BitmapFields&)>& change) {
        BitmapFields f = PalettedBitmap({{250, 0, 57, 243}}, GamePaletteBytes());
        change(f);
        return Decode(BuildBitmap(f)).pixels;
    };
    const Bytes converted = {242, 0, 57, 0};
    EXPECT_EQ(decodeWith([](BitmapFields& f) { f.palette[4 * 5 + 3] = 1; }),
              converted);  // reserved
    EXPECT_EQ(decodeWith([](BitmapFields& f) { f.palette[4 * 255 + 0] ^= 4; }), converted);
    // Fewer than 256 entries, even if they all agree, is never taken over.
    EXPECT_EQ(decodeWith([](BitmapFields& f) {
                  f.palette.resize(4 * 251);
                  f.coloursUsed = 251;
              }),
              converted);
    EXPECT_EQ(decodeWith([](BitmapFields&) {}), (Bytes{250, 0, 57, 243}));
}

TEST(BitmapReader, TrueColourWidthThreeGainsAZeroColumn) {
    const IndexedImage image =
        Decode(BuildBitmap(TrueColourBitmap({{GameColour(57), GameColour(100), GameColour(200)}})));
    EXPECT_EQ(image.width, 4u);
    EXPECT_EQ(image.pixels, (Bytes{57, 100, 200, 0}));
}

TEST(BitmapReader, HeightZeroGivesAnImageWithoutRows) {
    const IndexedImage image = Decode(BuildBitmap(TrueColourBitmap({})));
    EXPECT_EQ(image.height, 0u);
    BitmapFields f = SmallTrueColour();
    f.height = 0;
    f.pixels.clear();
    const IndexedImage wide = Decode(BuildBitmap(f));
    EXPECT_EQ(wide.width, 8u);
    EXPECT_EQ(wide.height, 0u);
    EXPECT_TRUE(wide.pixels.empty());
}

TEST(BitmapReader, ImagesWithoutPixelsNeedNoMemory) {
    // Width and height no bytes back: nothing may be allocated or walked by them.
    for (ConversionMode mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
        const IndexedImage wide = Decode(TrueColourWith([](auto& f) {
                                             f.width = INT32_MAX;
                                             f.height = 0;
                                             f.pixels.clear();
                                         }),
                                         mode);
        EXPECT_EQ(wide.width, 0x80000000u);
        EXPECT_EQ(wide.height, 0u);
        const IndexedImage tall = Decode(PalettedWith([](auto& f) {
                                             f.width = 0;
                                             f.height = -INT32_MAX;
                                             f.pixels.clear();
                                         }),
                                         mode);
        EXPECT_EQ(tall.width, 0u);
        EXPECT_EQ(tall.height, static_cast<std::uint32_t>(INT32_MAX));
        EXPECT_TRUE(wide.pixels.empty() && tall.pixels.empty());
    }
    EXPECT_EQ(Refusal(PalettedWith([](auto& f) {
                  f.compression = 1;
                  f.width = 0;
                  f.pixels = {1, 5, 0, 1};
              })),
              kPastEdge);
}

TEST(BitmapReader, TopDownRowsGiveTheSameImage) {
    const IndexedImage bottomUp = Decode(BuildBitmap(SmallTrueColour()), ConversionMode::Dither);
    BitmapFields f = SmallTrueColour();
    // Reverse the stored rows (12 bytes each) and mark them top-down.
    Bytes reversed;
    for (int row = 2; row >= 0; --row) {
        reversed.insert(reversed.end(), f.pixels.begin() + 16 * row,
                        f.pixels.begin() + 16 * row + 16);
    }
    f.pixels = reversed;
    f.height = -3;
    EXPECT_EQ(Decode(BuildBitmap(f), ConversionMode::Dither).pixels, bottomUp.pixels);

    BitmapFields p = SmallPaletted();
    p.pixels = {20, 30, 40, 50, 60, 0, 0, 0, 70, 80, 90, 100, 110, 0, 0, 0};
    p.height = -2;
    EXPECT_EQ(Decode(BuildBitmap(p)).pixels, Decode(BuildBitmap(SmallPaletted())).pixels);
}

TEST(BitmapReader, HonoursPixelOffsetAndLongerInfoHeaders) {
    const IndexedImage expected = Decode(BuildBitmap(SmallPaletted()));
    for (std::uint32_t infoSize : {52u, 56u, 108u, 124u}) {
        BitmapFields f = SmallPaletted();
        f.infoSize = infoSize;
        EXPECT_EQ(Decode(BuildBitmap(f)).pixels, expected.pixels) << infoSize;
    }
    BitmapFields gap = SmallPaletted();
    gap.gap = Bytes(36, 0xAB);
    EXPECT_EQ(Decode(BuildBitmap(gap)).pixels, expected.pixels);
}

TEST(BitmapReader, ReadsOs2Headers) {
    BitmapFields f = SmallPaletted();
    f.infoSize = 12;
    f.palette.clear();
    for (std::size_t i = 0; i < 256; ++i) {  // 3 bytes per entry, no reserved byte
        f.palette.insert(f.palette.end(), GamePalette.begin() + 4 * i,
                         GamePalette.begin() + 4 * i + 3);
    }
    f.pixels[0] = 250;  // taken over, so 250 stays
    const IndexedImage image = Decode(BuildBitmap(f));
    EXPECT_EQ(image.width, 8u);
    EXPECT_EQ(image.pixels[8], 250);
}

TEST(BitmapReader, SmallPaletteWithIndexesInRange) {
    BitmapFields f = PalettedBitmap({{0, 1, 2, 1}}, {});
    for (int i : {57, 100, 200}) {
        const Bgr c = GameColour(static_cast<std::uint8_t>(i));
        f.palette.insert(f.palette.end(), {c.blue, c.green, c.red, 0});
    }
    f.coloursUsed = 3;
    EXPECT_EQ(Decode(BuildBitmap(f)).pixels, (Bytes{57, 100, 200, 100}));
}

TEST(BitmapReader, ExpandsRle8LikeTheUncompressedFile) {
    const IndexedImage expected = Decode(BuildBitmap(SmallPaletted()));
    BitmapFields f = SmallPaletted();
    f.compression = 1;
    f.pixels = SmallRle();
    EXPECT_EQ(Decode(BuildBitmap(f)).pixels, expected.pixels);
    // The final end-of-bitmap code may be missing once every row is complete.
    f.pixels.resize(f.pixels.size() - 2);
    EXPECT_EQ(Decode(BuildBitmap(f)).pixels, expected.pixels);
}

TEST(BitmapReader, Rle8SkippedPixelsGetIndexZero) {
    BitmapFields f = SmallPaletted();
    f.compression = 1;
    f.palette[0] = GamePalette[4 * 57];  // entry 0: the colour of game entry 57
    f.palette[1] = GamePalette[4 * 57 + 1];
    f.palette[2] = GamePalette[4 * 57 + 2];
    f.palette[4 * 255 + 3] = 1;  // not the game palette, so converted
    // Bottom row: delta 2 right, 1 pixel of 100; then end of bitmap.
    f.pixels = {0, 2, 2, 0, 1, 100, 0, 1};
    EXPECT_EQ(Decode(BuildBitmap(f)).pixels,
              (Bytes{57, 57, 57, 57, 57, 0, 0, 0, 57, 57, 100, 57, 57, 0, 0, 0}));
}

TEST(BitmapReader, SixteenBitPixelsScaleEachChannelToFullRange) {
    // 5-5-5 and 5-6-5: all ones are 255, zero is 0, 16 of 31 is 132 (16 × 255 / 31 rounded).
    const IndexedImage reference = Decode(BuildBitmap(TrueColourBitmap(
        {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {132, 132, 132}, {255, 255, 255}}})));

    BitmapFields rgb555 = TrueColourBitmap({});
    rgb555.width = 5;
    rgb555.height = 1;
    rgb555.bitCount = 16;
    rgb555.pixels = {0x1F, 0x00, 0xE0, 0x03, 0x00, 0x7C, 0x10, 0x42, 0xFF, 0x7F, 0, 0};
    EXPECT_EQ(Decode(BuildBitmap(rgb555)).pixels, reference.pixels);

    BitmapFields rgb565 = rgb555;
    rgb565.compression = 3;
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    // green 32 of 63 is 130, not 132: use a grey whose green is 33 of 63 (134).
    rgb565.pixels = {0x1F, 0x00, 0xE0, 0x07, 0x00, 0xF8, 0x30, 0x84, 0xFF, 0xFF, 0, 0};
    const IndexedImage reference565 = Decode(BuildBitmap(TrueColourBitmap(
        {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {132, 134, 132}, {255, 255, 255}}})));
    EXPECT_EQ(Decode(BuildBitmap(rgb565)).pixels, reference565.pixels);
}

TEST(BitmapReader, ThirtyTwoBitPixelsPlainAndByMasks) {
    const std::vector<std::vector<Bgr>> colours = {{{10, 20, 30}, {200, 100, 50}},
                                                   {{0, 255, 128}, {77, 66, 55}}};
    const IndexedImage reference =
        Decode(BuildBitmap(TrueColourBitmap(colours)), ConversionMode::Dither);

    BitmapFields plain = TrueColourBitmap(colours);
    plain.bitCount = 32;
    plain.pixels.clear();
    for (int y = 1; y >= 0; --y) {
        for (const Bgr& c : colours[y]) {
            plain.pixels.insert(plain.pixels.end(), {c.blue, c.green, c.red, 0xFF});
        }
    }
    EXPECT_EQ(Decode(BuildBitmap(plain), ConversionMode::Dither).pixels, reference.pixels);

    // The same pixels stored red, green, blue, unused from the top byte down.
    BitmapFields masked = plain;
    masked.compression = 3;
    masked.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
    masked.pixels.clear();
    for (int y = 1; y >= 0; --y) {
        for (const Bgr& c : colours[y]) {
            masked.pixels.insert(masked.pixels.end(), {0x00, c.blue, c.green, c.red});
        }
    }
    EXPECT_EQ(Decode(BuildBitmap(masked), ConversionMode::Dither).pixels, reference.pixels);
    masked.infoSize = 56;  // masks inside the info header
    EXPECT_EQ(Decode(BuildBitmap(masked), ConversionMode::Dither).pixels, reference.pixels);
}

}  // namespace
}  // namespace quorvel
