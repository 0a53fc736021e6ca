// Runs the sprite commands of quorvel-cli on real files and checks that what they write is
// what the window's operations write for the same files.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "sprites/sprite_file.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;
using testing::Bgr;
using testing::BuildBitmap;
using testing::Outcome;
using testing::ReadTestFile;
using testing::TempFolder;
using testing::WriteTestFile;

class SpriteCommands : public ::testing::Test {
  protected:
    Outcome Run(const std::vector<std::string>& arguments) {
        return testing::RunProgram(QUORVEL_CLI_PATH, arguments, scratch);
    }

    // A true-colour picture of the given size with enough colours for the methods to differ.
    std::string WritePicture(const std::string& name, int width, int height) {
        std::vector<std::vector<Bgr>> rows(height, std::vector<Bgr>(width));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                rows[y][x] = {static_cast<std::uint8_t>(20 * x + 3 * y),
                              static_cast<std::uint8_t>(90 + 11 * y),
                              static_cast<std::uint8_t>(250 - 17 * x)};
            }
        }
        const std::string path = files.File(name);
        WriteTestFile(path, BuildBitmap(testing::TrueColourBitmap(rows)));
        return path;
    }

    // The sprite file the window makes from `inputs`: each loaded, then added in turn.
    static Bytes ExpectedSpriteFile(const Names& inputs, ConversionMode mode) {
        SpriteSet set;
        for (const std::string& input : inputs) {
            const Result<IndexedImage> image = DecodeBitmap(ReadTestFile(input), mode);
            EXPECT_TRUE(image.ok()) << input;
            ++set.count;
            set.widths.push_back(image.value().width);
            set.heights.push_back(image.value().height);
            set.images.push_back(image.value().pixels);
        }
        return EncodeSpriteFile(set).value();
    }

    // Three pictures whose converted sizes are 8 × 3, 4 × 2 and 4 × 1.
    Names WritePictures() {
        return {WritePicture("a.bmp", 5, 3), WritePicture("b.bmp", 4, 2),
                WritePicture("c.bmp", 1, 1)};
    }

    TempFolder files;
    TempFolder scratch;
};

TEST_F(SpriteCommands, PackWritesWhatTheWindowWouldAndListShowsItsLines) {
    const Names inputs = WritePictures();
    const std::string packed = files.File("packed.spr");
    const std::string dithered = files.File("dithered.spr");

    Outcome r = Run({"pack", packed, inputs[0], inputs[1], inputs[2]});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadTestFile(packed), ExpectedSpriteFile(inputs, ConversionMode::Nearest));

    r = Run({"pack", "--dither", dithered, inputs[0], inputs[1], inputs[2]});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadTestFile(dithered), ExpectedSpriteFile(inputs, ConversionMode::Dither));
    EXPECT_NE(ReadTestFile(dithered), ReadTestFile(packed));

    r = Run({"list", packed});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "#0:\t8 \xC3\x97 3\n#1:\t4 \xC3\x97 2\n#2:\t4 \xC3\x97 1\n");
}

TEST_F(SpriteCommands, UnpackSavesEverySpriteAsTheWindowWould) {
    const Names inputs = WritePictures();
    const std::string packed = files.File("my.sprites.spr");
    ASSERT_EQ(Run({"pack", packed, inputs[0], inputs[1], inputs[2]}).status, 0);
    TempFolder out;

    const Outcome r = Run({"unpack", packed, out.path().string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(out.Entries(),
              (Names{"my.sprites-000.bmp", "my.sprites-001.bmp", "my.sprites-002.bmp"}));

    const SpriteSet set = DecodeSpriteFile(ReadTestFile(packed)).value();
    for (std::uint32_t i = 0; i < set.count; ++i) {
        SCOPED_TRACE(i);
        const IndexedImage sprite{set.widths[i], set.heights[i], set.images[i]};
        const Bytes bitmap = ReadTestFile(out.File(out.Entries()[i]));
        EXPECT_EQ(bitmap, EncodeBitmap(sprite).value());
        // And the bitmap brings back exactly the sprite and the picture it came from.
        const IndexedImage back = DecodeBitmap(bitmap, ConversionMode::Nearest).value();
        EXPECT_EQ(back.pixels, sprite.pixels);
        const IndexedImage original =
            DecodeBitmap(ReadTestFile(inputs[i]), ConversionMode::Nearest).value();
        EXPECT_EQ(back.width, original.width);
        EXPECT_EQ(back.pixels, original.pixels);
    }
}

TEST_F(SpriteCommands, AnEmptySpriteFileListsNothingAndUnpacksNothing) {
    const std::string empty = files.File("empty.spr");
    WriteTestFile(empty, {0, 0});
    Outcome r = Run({"list", empty});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    TempFolder out;
    r = Run({"unpack", empty, out.path().string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(out.Entries().empty());
}

TEST_F(SpriteCommands, AFailedInputMeansNoSpriteFile) {
    const Names inputs = WritePictures();
    const std::string missing = files.File("missing.bmp");
    const std::string existing = files.File("existing.spr");
    WriteTestFile(existing, {7, 7});

    Outcome r = Run({"pack", existing, inputs[0], missing, inputs[1]});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Unable to open " + missing + " for read.\n");
    EXPECT_EQ(ReadTestFile(existing), (Bytes{7, 7}));

    // A bitmap without rows reads, but gives nothing "Add ->" would take.
    testing::BitmapFields flat = testing::TrueColourBitmap({{{1, 2, 3}, {4, 5, 6}}});
    flat.height = 0;
    flat.pixels.clear();
    const std::string flatPath = files.File("flat.bmp");
    WriteTestFile(flatPath, BuildBitmap(flat));
    const std::string fresh = files.File("fresh.spr");
    r = Run({"pack", fresh, inputs[0], flatPath});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Unable to add " + flatPath + ": the image has no pixels.\n");

    EXPECT_EQ(files.Entries(), (Names{"a.bmp", "b.bmp", "c.bmp", "existing.spr", "flat.bmp"}));
}

TEST_F(SpriteCommands, UnreadableSpriteFilesAndUnwritableFoldersExitWithOne) {
    const std::string missing = files.File("missing.spr");
    const std::string truncated = files.File("truncated.spr");
    WriteTestFile(truncated, {1, 0, 10, 0, 0, 0, 2, 0, 2, 0, 1, 2, 3});
    const std::string reason = ": the pixels of sprite 0 lie outside the file.\n";
    TempFolder out;

    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"list", missing},
             {"unpack", missing, out.path().string()},
         }) {
        const Outcome r = Run(arguments);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Unable to open " + missing + " for read.\n");
        EXPECT_EQ(r.out, "");
    }
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"list", truncated},
             {"unpack", truncated, out.path().string()},
         }) {
        const Outcome r = Run(arguments);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Unable to read " + truncated + reason);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_TRUE(out.Entries().empty());

    const std::string good = files.File("good.spr");
    ASSERT_EQ(Run({"pack", good, WritePicture("p.bmp", 2, 2)}).status, 0);
    const std::string nowhere = files.File("no-such-folder");
    const Outcome r = Run({"unpack", good, nowhere});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Unable to open " + nowhere + "/good-000.bmp for write.\n");
}

TEST_F(SpriteCommands, UsageErrorsExitWithTwoAndWriteNothing) {
    const std::string input = WritePicture("in.bmp", 2, 2);
    const std::string sprites = files.File("s.spr");
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"pack"},
             {"pack", sprites},
             {"pack", "--sharpen", sprites, input},
             {"unpack"},
             {"unpack", sprites},
             {"unpack", sprites, files.path().string(), "extra"},
             {"unpack", "--dither", sprites, files.path().string()},
             {"list"},
             {"list", sprites, sprites},
         }) {
        const Outcome r = Run(arguments);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_NE(r.err.find("Usage: quorvel-cli " + arguments[0]), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(files.Entries(), Names{"in.bmp"});

    const Outcome help = Run({"--help"});
    for (const char* usage : {"pack [--dither] OUTPUT.spr INPUT.bmp...",
                              "unpack INPUT.spr OUTPUT_DIR", "list INPUT.spr"}) {
        EXPECT_NE(help.out.find(usage), std::string::npos) << help.out;
    }
}

}  // namespace
}  // namespace quorvel
