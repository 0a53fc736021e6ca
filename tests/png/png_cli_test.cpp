// quorvel-cli with PNG pictures: read by content, written by name, --keep-black and
// unpack --png.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/picture_file.h"
#include "png/png_codec.h"
#include "sprites/sprite_file.h"
#include "tests/png/png_maker.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Args = std::vector<std::string>;

TEST(CliPng, ConvertPackAndUnpackWithPngFiles) {
    const TempFolder files, scratch;
    auto run = [&](const Args& arguments) {
        return RunProgram(QUORVEL_CLI_PATH, arguments, scratch);
    };
    // Black and dark pixels around a transparent one, saved under a name that is no PNG's.
    PngPicture p = MakePng(3, 2, kRgba, 8);
    p.samples = {0,   0,  0,  255, 9, 9, 9, 255, 0, 0, 0, 0,
                 200, 10, 10, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    const std::string in = files.File("in.bmp");
    WriteTestFile(in, EncodeTestPng(p));
    const auto expected =
        DecodePicture(ReadTestFile(in), ConversionMode::Dither, BlackHandling::KeepVisible).value();

    const std::string out = files.File("out.PNG"), sprites = files.File("s.spr");
    ASSERT_EQ(run({"convert", "--keep-black", "--dither", in, out}).status, 0);
    EXPECT_EQ(ReadTestFile(out), png::EncodeIndexedPng(expected).value());
    ASSERT_EQ(run({"pack", "--dither", "--keep-black", sprites, in, out}).status, 0);
    ASSERT_EQ(run({"unpack", "--png", sprites, files.path().string()}).status, 0);
    EXPECT_EQ(ReadTestFile(files.File("s-000.png")), ReadTestFile(out));
    EXPECT_EQ(ReadTestFile(files.File("s-001.png")), ReadTestFile(out));

    const Outcome wrong = run({"convert", "--png", in, out});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find("unknown option '--png'"), std::string::npos);
}

}  // namespace
}  // namespace quorvel::testing
