// quorvel-cli background, and folders given to pack, run as a user would.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pictures/picture_file.h"
#include "sprites/background.h"
#include "sprites/sprite_file.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Args = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

// A 24-bit bitmap with gradients, noise and black specks, so that the error the dither
// spreads crosses every tile edge and keep-black has black to keep.
Bytes Picture(std::int32_t width, std::int32_t height) {
    BitmapFields fields;
    fields.width = width;
    fields.height = height;
    const std::size_t stride = (3 * std::size_t(width) + 3) / 4 * 4;
    fields.pixels.resize(stride * height);
    for (std::size_t y = 0; y < std::size_t(height); ++y) {
        for (std::size_t x = 0; x < std::size_t(width); ++x) {
            const bool lit = (x * 7 + y * 13) % 61 != 0;
            std::uint8_t* p = &fields.pixels[y * stride + 3 * x];
            p[0] = static_cast<std::uint8_t>(lit * (x / 33 + (x * y) % 7));
            p[1] = static_cast<std::uint8_t>(lit * (y / 5 + x % 3));
            p[2] = static_cast<std::uint8_t>(lit * ((x + y) / 41 ^ (y & 8)));
        }
    }
    return BuildBitmap(fields);
}

class BackgroundCli : public ::testing::Test {
  protected:
    Outcome Run(const Args& arguments) { return RunProgram(QUORVEL_CLI_PATH, arguments, scratch); }

    TempFolder files;
    TempFolder scratch;
};

TEST_F(BackgroundCli, FileIsTheWholePictureReducedAndCutAndStitchesBack) {
    const std::string picture = files.File("room.bmp"), back = files.File("back.spr"),
                      again = files.File("again.spr");
    WriteTestFile(picture, Picture(8352, 1200));
    for (const bool dither : {false, true}) {  // nearest, or dither keeping black
        const Outcome made =
            Run(dither ? Args{"background", "--keep-black", "--dither", picture, back}
                       : Args{"background", picture, back});
        ASSERT_EQ(made.status, 0) << made.err;
        const IndexedImage whole =
            DecodePicture(ReadTestFile(picture), ConversionMode{dither}, BlackHandling{dither})
                .value();
        const Bytes expected = EncodeSpriteFile(CutBackground(whole).value()).value();
        EXPECT_TRUE(ReadTestFile(back) == expected) << dither;

        for (const std::string name : {"whole.bmp", "whole.PNG"}) {
            ASSERT_EQ(Run({"background", "--stitch", back, files.File(name)}).status, 0);
            ASSERT_EQ(Run({"background", files.File(name), again}).status, 0);
            EXPECT_TRUE(ReadTestFile(again) == expected) << name;
        }
    }
}

TEST_F(BackgroundCli, WrongShapesAreRefusedAndNothingIsWritten) {
    const std::string narrow = files.File("narrow.bmp"), small = files.File("small.bmp"),
                      smallPng = files.File("small.png"), one = files.File("one.spr"),
                      headless = files.File("headless.png"), kept = files.File("kept");
    // 8351 pixels wide: the reduction would round it up to 8352, so the stored size counts.
    WriteTestFile(narrow, Picture(8351, 1200));
    WriteTestFile(small, Picture(4, 2));
    ASSERT_EQ(Run({"convert", small, smallPng}).status, 0);
    WriteTestFile(one, EncodeSpriteFile({1, {144}, {150}, {Bytes(144 * 150)}}).value());
    WriteTestFile(headless, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13});
    WriteTestFile(kept, {7, 7});
    const std::string shape = " pixels; this picture is ";
    const std::pair<Args, std::string> cases[] = {
        {{"background", narrow, kept},
         "Unable to use " + narrow + ": a background must be 8352 × 1200" + shape + "8351 × 1200."},
        {{"background", "--dither", smallPng, kept},
         "Unable to use " + smallPng + ": a background must be 8352 × 1200" + shape + "4 × 2."},
        {{"background", headless, kept},
         "Unable to read " + headless + ": the file does not begin with a PNG header chunk."},
        {{"background", "--stitch", one, kept},
         "Unable to use " + one + ": a background file holds 464 sprites of 144 × 150."},
    };
    for (const auto& [args, message] : cases) {
        const Outcome r = Run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, message + "\n");
    }
    EXPECT_EQ(Run({"background", "--stitch", "--dither", one, kept}).status, 2);
    EXPECT_EQ(ReadTestFile(kept), (Bytes{7, 7}));
    EXPECT_EQ(files.Entries(),
              (Args{"headless.png", "kept", "narrow.bmp", "one.spr", "small.bmp", "small.png"}));
}

TEST_F(BackgroundCli, PackTakesFoldersInNaturalOrderAndUnpackNamesSortBack) {
    TempFolder frames, none, out;
    // Told apart by their heights; picked by extension, read by content.
    for (const auto& [name, height] :
         {std::pair{"walk10.PNG", 4}, {"Walk2.bmp", 2}, {"walk1.Bmp", 1}, {"walk02.bmp", 3}}) {
        WriteTestFile(frames.File(name), Picture(1, height));
    }
    WriteTestFile(frames.File("notes.txt"), {1});
    std::filesystem::create_directory(frames.File("old.bmp"));
    const std::string first = files.File("first.bmp"), packed = files.File("walk.spr");
    WriteTestFile(first, Picture(1, 5));
    ASSERT_EQ(Run({"pack", packed, first, frames.path().string()}).status, 0);
    EXPECT_EQ(Run({"list", packed}).out,
              "#0:\t4 × 5\n#1:\t4 × 1\n#2:\t4 × 2\n#3:\t4 × 3\n#4:\t4 × 4\n");
    const Outcome empty = Run({"pack", packed, none.path().string()});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "Unable to use " + none.path().string() +
                             ": the folder holds no .bmp or .png files.\n");

    // Over 999 sprites: four digits.
    const std::string many = files.File("many.spr");
    WriteTestFile(many, EncodeSpriteFile({1000, std::vector<std::uint32_t>(1000, 1),
                                          std::vector<std::uint32_t>(1000, 1),
                                          std::vector<Bytes>(1000, Bytes{9})})
                            .value());
    ASSERT_EQ(Run({"unpack", many, out.path().string()}).status, 0);
    EXPECT_EQ(out.Entries().size(), 1000u);
    EXPECT_EQ(out.Entries().back(), "many-0999.bmp");
}

}  // namespace
}  // namespace quorvel::testing
