// Pictures with transparency reduced to the game palette, black kept visible, PNG written and
// read back: against the rules written out plainly and against the bitmap path.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "core/game_palette.h"
#include "core/nearest_index.h"
#include "pictures/picture_file.h"
#include "tests/png/png_maker.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr ConversionMode kModes[] = {ConversionMode::Nearest, ConversionMode::Dither};
constexpr BlackHandling kBlacks[] = {BlackHandling::AsSearched, BlackHandling::KeepVisible};

// The rules written out plainly over RGBA pixels: separate current and next error rows, the
// plain scan; a transparent pixel is 0, reads no error and spreads none.
Bytes PlainReduction(const Bytes& rgba, std::uint32_t width, ConversionMode mode,
                     BlackHandling black) {
    const std::uint32_t height = static_cast<std::uint32_t>(rgba.size() / 4 / width);
    const std::uint32_t stride = (width + 3) / 4 * 4;
    Bytes out(std::size_t{stride} * height, 0);
    std::vector<std::array<int, 3>> current(width + 2), next(width + 2);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgba[4 * (std::size_t{y} * width + x)];
            if (p[3] < 128) {
                continue;
            }
            int v[3];
            for (int c = 0; c < 3; ++c) {
                v[c] = std::clamp(p[c] + current[x + 1][c], 0, 255);
            }
            const NearestMatch m = FindNearestIndexByScan(v[0], v[1], v[2]);
            out[y * stride + x] =
                m.index == 0 && black == BlackHandling::KeepVisible ? 243 : m.index;
            const int e[3] = {m.dRed, m.dGreen, m.dBlue};
            for (int c = 0; mode == ConversionMode::Dither && c < 3; ++c) {
                current[x + 2][c] += (7 * e[c]) >> 4;
                next[x][c] += (5 * e[c]) >> 4;
                next[x + 1][c] += (3 * e[c]) >> 4;
                next[x + 2][c] += e[c] >> 4;
            }
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), std::array<int, 3>{});
    }
    return out;
}

// Random dark pixels (many match black) as an RGBA PNG; unless `opaque`, with a transparent
// rectangle and scattered pixels whose alpha is 126 to 129, around the threshold. Also as the
// 24-bit bitmap of the same colours.
struct Picture {
    Bytes rgba, png, bitmap;
};
Picture RandomPicture(std::uint32_t width, std::uint32_t height, unsigned seed, bool opaque) {
    std::mt19937 random(seed);
    Picture p;
    PngPicture png{width, height, kRgba, 8, {}};
    std::vector<std::vector<Bgr>> rows(height, std::vector<Bgr>(width));
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            Bgr& c = rows[y][x];
            c = {static_cast<std::uint8_t>(random() % 90), static_cast<std::uint8_t>(random() % 40),
                 static_cast<std::uint8_t>(random() % 90)};
            const bool hole =
                !opaque && x >= width / 3 && x < width / 2 && y >= height / 4 && y < height / 2;
            const bool nearThreshold = !opaque && random() % 4 == 0;
            const auto alpha = static_cast<std::uint8_t>(hole            ? 0
                                                         : nearThreshold ? 126 + random() % 4
                                                                         : 255);
            p.rgba.insert(p.rgba.end(), {c.red, c.green, c.blue, alpha});
        }
    }
    png.samples.assign(p.rgba.begin(), p.rgba.end());
    p.png = EncodeTestPng(png);
    p.bitmap = BuildBitmap(TrueColourBitmap(rows));
    return p;
}

// Every method and black handling against the plain rules: transparent pixels and holes, and
// opaque pictures, which convert byte for byte as the 24-bit bitmap of the same colours does.
TEST(PictureConversion, MatchesThePlainRulesAndTheBitmapPath) {
    for (const auto& [width, height] :
         {std::pair{37u, 23u}, {1u, 9u}, {9u, 1u}, {6u, 5u}, {130u, 17u}}) {
        for (const bool opaque : {false, true}) {
            const Picture p = RandomPicture(width, height, width + height, opaque);
            for (const auto mode : kModes) {
                for (const auto black : kBlacks) {
                    SCOPED_TRACE(::testing::Message()
                                 << width << "x" << height << " opaque " << opaque << " mode "
                                 << static_cast<int>(mode) << " black " << static_cast<int>(black));
                    const Bytes expected = PlainReduction(p.rgba, width, mode, black);
                    EXPECT_EQ(DecodePicture(p.png, mode, black).value().pixels, expected);
                    EXPECT_TRUE(!opaque ||
                                DecodePicture(p.bitmap, mode, black).value().pixels == expected);
                }
            }
        }
    }
}

TEST(PictureConversion, PngInTheGamePaletteIsTakenOverIndexForIndex) {
    PngPicture p{16, 16, kIndexed, 8, {}};
    Bytes expected;
    for (unsigned i = 0; i < 256; ++i) {
        p.samples.push_back(static_cast<std::uint16_t>(i));
        const Bgr c = GameColour(static_cast<std::uint8_t>(i));
        p.palette.insert(p.palette.end(), {c.red, c.green, c.blue});
        expected.push_back(i == 37 ? 0 : (i >= 1 && i <= 10) ? 242 : static_cast<std::uint8_t>(i));
    }
    p.palette[0] = 9;  // entry 0 may differ
    p.trns.assign(38, 255);
    p.trns[37] = 127;  // an entry made transparent gives 0
    for (const auto mode : kModes) {
        for (const auto black : kBlacks) {
            EXPECT_EQ(DecodePicture(EncodeTestPng(p), mode, black).value().pixels, expected);
        }
    }
    p.palette[3 * 200] ^= 4;  // one entry off: converted, so the black 243 becomes 0
    EXPECT_EQ(DecodePicture(EncodeTestPng(p), kModes[0], kBlacks[0]).value().pixels[243], 0);
}

TEST(PictureConversion, PngIsWrittenByNameAndReadsBackAsTheSameIndexes) {
    const TempFolder folder;
    ResetRecorder();
    CurrentImage() = IndexedImage{12, 2, {}};
    for (unsigned i = 0; i < 24; ++i) {
        CurrentImage().pixels.push_back(static_cast<std::uint8_t>(i == 0 ? 0 : i * 37 % 245 + 11));
    }
    ASSERT_TRUE(SavePictureFile(folder.File("a.PnG")) && SavePictureFile(folder.File("a.bmp")));
    EXPECT_EQ(ReadTestFile(folder.File("a.bmp")), EncodeBitmap(CurrentImage()).value());
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

}  // namespace
}  // namespace quorvel::testing
