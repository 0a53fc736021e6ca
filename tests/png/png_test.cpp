// PNG pictures: every colour type and depth decoded to the colours the reduction sees, the
// transparency and keep-black rules against a plain version of them, the take-over of the game
// palette, writing and reading back, and damaged files refused.
// The files are in tests/data/png (scripts/make_png_fixtures.py writes them).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "core/game_palette.h"
#include "pictures/picture_file.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/plain_reduction.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Rgba = std::array<std::uint8_t, 4>;
constexpr ConversionMode kModes[] = {ConversionMode::Nearest, ConversionMode::Dither};
constexpr BlackHandling kBlacks[] = {BlackHandling::AsSearched, BlackHandling::KeepVisible};

Bytes Fixture(const std::string& name) {
    return ReadTestFile(std::string(QUORVEL_PNG_DATA) + "/" + name + ".png");
}

// Wine's imaging component refuses 4-bit paletted pictures, gives 1- and 2-bit ones the wrong
// palette and does not check the checksum of the pixel data.
bool RunsUnderWine() {
#if defined(_WIN32)
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
#else
    return false;
#endif
}

// The picture as red, green, blue and alpha per pixel, whatever layout the decoder gave.
Bytes RgbaOf(const png::DecodedPicture& picture) {
    if (picture.layout == png::PixelLayout::Rgba) {
        return picture.pixels;
    }
    Bytes rgba;
    for (const std::uint8_t i : picture.pixels) {
        rgba.insert(rgba.end(), &picture.palette[4 * i], &picture.palette[4 * i + 4]);
    }
    return rgba;
}

// The rules written out plainly over RGBA pixels.
Bytes PlainReduction(const Bytes& rgba, std::uint32_t width, ConversionMode mode,
                     BlackHandling black) {
    const auto height = static_cast<std::uint32_t>(rgba.size() / 4 / width);
    const auto pixel = [&](std::uint32_t x, std::uint32_t y) {
        const std::uint8_t* p = &rgba[4 * (std::size_t{y} * width + x)];
        return p[3] < 128 ? std::nullopt : std::optional(std::array<int, 3>{p[0], p[1], p[2]});
    };
    return testing::PlainReduction(width, height, pixel, mode, black).pixels;
}

// Entry i of the test palettes is (i, 255 - i, 3i).
constexpr Rgba Entry(unsigned i, std::uint8_t alpha = 255) {
    return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
            static_cast<std::uint8_t>(3 * i), alpha};
}

// Each file is a 5 × 3 checker board of two pixels, stored plainly and interlaced.
struct Checker {
    const char* name;
    Rgba a, b;
};
// clang-format off
constexpr Checker kCheckers[] = {
    {"grey1", {0, 0, 0, 255}, {255, 255, 255, 255}},
    {"grey2", {85, 85, 85, 255}, {170, 170, 170, 255}},
    {"grey4", {51, 51, 51, 255}, {204, 204, 204, 255}},
    {"grey8-trns", {7, 7, 7, 0}, {200, 200, 200, 255}},
    {"grey16-trns", {18, 18, 18, 0}, {18, 18, 18, 255}},  // tRNS matches all 16 bits
    {"greyalpha8", {50, 50, 50, 127}, {60, 60, 60, 128}},
    {"greyalpha16", {0x34, 0x34, 0x34, 0x7F}, {0xAB, 0xAB, 0xAB, 0x80}},
    {"rgb8-trns", {1, 2, 3, 0}, {250, 128, 0, 255}},
    {"rgb16", {0x12, 0x34, 0xFF, 255}, {0, 0, 0xFF, 255}},
    {"rgba8", {10, 20, 30, 0}, {40, 50, 60, 255}},
    {"rgba16", {1, 2, 3, 0x80}, {0xFF, 0, 0x7F, 0x7F}},
    {"indexed1", Entry(0), Entry(1)},
    {"indexed2-trns", Entry(2, 0), Entry(3)},
    {"indexed4", Entry(9), Entry(15)},
    {"indexed8-trns", Entry(200), Entry(1, 128)},
};
// clang-format on

TEST(Png, EveryColourTypeDecodesToItsColoursAndConvertsAsThoseColoursDo) {
    for (const Checker& c : kCheckers) {
        if (RunsUnderWine() && std::string(c.name).find("indexed") == 0 && c.name[7] != '8') {
            continue;
        }
        Bytes expected;
        for (int i = 0; i < 15; ++i) {
            const Rgba& pixel = (i % 5 + i / 5) % 2 == 0 ? c.a : c.b;
            expected.insert(expected.end(), pixel.begin(), pixel.end());
        }
        for (const std::string& name : {std::string(c.name), c.name + std::string("-interlaced")}) {
            const auto decoded = png::DecodePng(Fixture(name));
            ASSERT_TRUE(decoded.ok()) << name << ": " << decoded.error();
            EXPECT_EQ(RgbaOf(decoded.value()), expected) << name;
            for (const auto mode : kModes) {
                EXPECT_EQ(ConvertPngPicture(decoded.value(), mode, BlackHandling::AsSearched)
                              .value()
                              .pixels,
                          PlainReduction(expected, 5, mode, BlackHandling::AsSearched))
                    << name;
            }
        }
    }
}

// Transparent holes, alphas around the threshold and dark colours that match black, by every
// method and black handling; an opaque picture converts as the 24-bit bitmap of its colours.
TEST(Png, TransparencyAndBlackFollowThePlainRulesAndOpaquePicturesTheBitmapPath) {
    for (const std::string size : {"37x23", "1x9", "9x1", "130x17"}) {
        for (const std::string& name : {"noise-" + size, "noise-" + size + "-opaque"}) {
            const Bytes file = Fixture(name);
            const png::DecodedPicture picture = png::DecodePng(file).value();
            const Bytes rgba = RgbaOf(picture);
            std::vector<std::vector<Bgr>> rows(picture.height, std::vector<Bgr>(picture.width));
            for (std::size_t i = 0; i < rgba.size() / 4; ++i) {
                rows[i / picture.width][i % picture.width] = {rgba[4 * i + 2], rgba[4 * i + 1],
                                                              rgba[4 * i]};
            }
            const Bytes bitmap = BuildBitmap(TrueColourBitmap(rows));
            const bool opaque = name.ends_with("opaque");
            for (const auto mode : kModes) {
                for (const auto black : kBlacks) {
                    const Bytes expected = PlainReduction(rgba, picture.width, mode, black);
                    EXPECT_EQ(DecodePicture(file, mode, black).value().pixels, expected)
                        << name << " " << int(mode) << int(black);
                    EXPECT_TRUE(!opaque ||
                                DecodePicture(bitmap, mode, black).value().pixels == expected);
                }
            }
        }
    }
}

TEST(Png, APaletteOfTheGameColoursIsTakenOverIndexForIndex) {
    Bytes expected(256);
    for (unsigned i = 0; i < 256; ++i) {  // entry 37 is transparent
        expected[i] = i == 37 ? 0 : (i >= 1 && i <= 10) ? 242 : static_cast<std::uint8_t>(i);
    }
    for (const auto mode : kModes) {
        for (const auto black : kBlacks) {
            EXPECT_EQ(DecodePicture(Fixture("game-palette"), mode, black).value().pixels, expected);
        }
    }
    // Entry 200 changed: converted, so the black 243 becomes 0.
    EXPECT_EQ(
        DecodePicture(Fixture("game-palette-changed"), kModes[0], kBlacks[0]).value().pixels[243],
        0);
}

TEST(Png, IsWrittenByNameAndReadsBackAsTheSameIndexes) {
    const TempFolder folder;
    ResetRecorder();
    CurrentImage() = IndexedImage{12, 2, {}};
    for (unsigned i = 0; i < 24; ++i) {
        CurrentImage().pixels.push_back(static_cast<std::uint8_t>(i == 0 ? 0 : i * 37 % 245 + 11));
    }
    ASSERT_TRUE(SavePictureFile(folder.File("a.PnG")) && SavePictureFile(folder.File("a.bmp")));
    EXPECT_EQ(ReadTestFile(folder.File("a.bmp")), EncodePicture(CurrentImage(), "b.bmp").value());
    const Bytes file = ReadTestFile(folder.File("a.PnG"));
    EXPECT_EQ(DecodePicture(file, kModes[1], kBlacks[1]).value().pixels, CurrentImage().pixels);
    const png::DecodedPicture picture = png::DecodePng(file).value();
    EXPECT_EQ(picture.paletteEntries, 256u);
    EXPECT_EQ(picture.palette[3] * 1000 + picture.palette[7], 255);  // only index 0 transparent
    EXPECT_EQ(picture.palette[4 * 200 + 1], (kGameColours[200] >> 8) & 0xFF);

    CurrentImage() = IndexedImage{};
    EXPECT_FALSE(SavePictureFile(folder.File("empty.png")));
    EXPECT_EQ(Recorded().fileErrors,
              std::vector<std::string>{"Unable to write " + folder.File("empty.png") +
                                       ": a PNG file cannot hold an image without pixels."});
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a.PnG", "a.bmp"}));
}

TEST(Png, DamagedFilesAreRefusedWithTheirReasonAndChangeNothing) {
    const char* const damaged = "its PNG data is damaged";
    const std::pair<const char*, const char*> cases[] = {
        {"damaged-checksum", damaged},
        {"damaged-deflate", damaged},
        {"damaged-width0", damaged},
        {"damaged-rgb4", damaged},
        {"damaged-cut", damaged},
        {"damaged-8193x8192", "8193 × 8192 pixels would take"},
        {"damaged-index", "a pixel refers to a colour its palette"},
    };
    const TempFolder folder;
    const std::string name = folder.File("bad.png");
    for (const auto& [fixture, reason] : cases) {
        if (RunsUnderWine() && fixture == cases[0].first) {
            continue;
        }
        WriteTestFile(name, Fixture(fixture));
        ResetRecorder();
        CurrentImage() = IndexedImage{4, 1, {7, 8, 9, 10}};
        EXPECT_FALSE(LoadPictureFile(name, ConversionMode::Dither, BlackHandling::KeepVisible));
        ASSERT_EQ(Recorded().fileErrors.size(), 1u) << fixture;
        const std::string& message = Recorded().fileErrors[0];
        EXPECT_TRUE(message.starts_with("Unable to read " + name + ": ") &&
                    message.find(reason) != std::string::npos && message.ends_with("."))
            << message;
        EXPECT_EQ(Recorded().repaintRequests, 0);
        EXPECT_EQ(CurrentImage().pixels, (Bytes{7, 8, 9, 10})) << fixture;
    }
}

}  // namespace
}  // namespace quorvel::testing
