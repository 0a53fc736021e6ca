// quorvel-cli with PNG files: read by content, written by name, --keep-black, unpack --png.

#include <gtest/gtest.h>

#include "pictures/picture_file.h"
#include "tests/png/png_maker.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/run_program.h"

namespace quorvel::testing {
namespace {

TEST(CliPng, ConvertPackAndUnpackWithPngFiles) {
    const TempFolder files, scratch;
    auto run = [&](const std::vector<std::string>& arguments) {
        return RunProgram(QUORVEL_CLI_PATH, arguments, scratch);
    };
    // Black around a transparent pixel, under a name that is no PNG's.
    const std::string in = files.File("in.bmp"), out = files.File("out.PNG"),
                      spr = files.File("s.spr");
    WriteTestFile(in,
                  EncodeTestPng({3, 1, kRgba, 8, {0, 0, 0, 255, 0, 0, 0, 0, 200, 10, 10, 255}}));
    const auto image =
        DecodePicture(ReadTestFile(in), ConversionMode::Dither, BlackHandling::KeepVisible);
    ASSERT_EQ(run({"convert", "--keep-black", "--dither", in, out}).status, 0);
    EXPECT_EQ(ReadTestFile(out), png::EncodeIndexedPng(image.value()).value());
    ASSERT_EQ(run({"pack", "--dither", "--keep-black", spr, in, out}).status, 0);
    ASSERT_EQ(run({"unpack", "--png", spr, files.path().string()}).status, 0);
    EXPECT_EQ(ReadTestFile(files.File("s-000.png")), ReadTestFile(out));
    EXPECT_EQ(ReadTestFile(files.File("s-001.png")), ReadTestFile(out));
    EXPECT_EQ(run({"convert", "--png", in, out}).status, 2);
}

}  // namespace
}  // namespace quorvel::testing
