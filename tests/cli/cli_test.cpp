// Runs the built quorvel-cli as a user would and checks its exit status, its messages and the
// files it leaves: conversions, sprite files, PNG pictures and room backgrounds.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "palettes/palette_file.h"
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

// The image the window makes of a bitmap file.
IndexedImage Loaded(const std::string& path, ConversionMode mode) {
    return DecodeBitmap(ReadTestFile(path), mode).value();
}

// A 24-bit bitmap with gradients, noise and black specks, so that the two methods differ, the
// error the dither spreads crosses every tile edge of a background and keep-black has black to
// keep.
Bytes Picture(int width, int height) {
    BitmapFields fields = TrueColourBitmap({});
    fields.width = width;
    fields.height = height;
    const std::size_t stride = (3 * std::size_t(width) + 3) / 4 * 4;
    fields.pixels.resize(stride * height);
    for (std::size_t y = 0; y < std::size_t(height); ++y) {
        for (std::size_t x = 0; x < std::size_t(width); ++x) {
            const bool lit = (x * 7 + y * 13) % 61 != 0;
            std::uint8_t* p = &fields.pixels[y * stride + 3 * x];
            p[0] = static_cast<std::uint8_t>(lit * (x / 33 + (x * y) % 7 + 20 * x));
            p[1] = static_cast<std::uint8_t>(lit * (y / 5 + x % 3 + 11 * y));
            p[2] = static_cast<std::uint8_t>(lit * ((x + y) / 41 ^ (y & 8)));
        }
    }
    return BuildBitmap(fields);
}

class Cli : public ::testing::Test {
  protected:
    Outcome Run(const Args& arguments) { return RunProgram(QUORVEL_CLI_PATH, arguments, scratch); }

    std::string WritePicture(const std::string& name, int width, int height) {
        WriteTestFile(files.File(name), Picture(width, height));
        return files.File(name);
    }

    TempFolder files;
    TempFolder scratch;
};

// Converted, the pictures are 8 × 3, 4 × 2 and 4 × 1: each row keeps its padding.
TEST_F(Cli, CommandsWriteWhatTheWindowWould) {
    const Args in = {WritePicture("a.bmp", 5, 3), WritePicture("b.bmp", 4, 2),
                     WritePicture("c.bmp", 1, 1)};
    const std::string packed = files.File("my.sprites.spr"), dithered = files.File("d.spr");
    TempFolder out;
    const std::pair<Args, std::string> runs[] = {
        {{"convert", in[0], files.File("n.bmp")}, ""},
        {{"convert", "--dither", in[0], files.File("d.bmp")}, ""},
        {{"pack", packed, in[0], in[1], in[2]}, ""},
        {{"pack", "--dither", dithered, in[0]}, ""},
        {{"list", packed}, "#0:\t8 × 3\n#1:\t4 × 2\n#2:\t4 × 1\n"},
        {{"unpack", packed, out.path().string()}, ""},
        {{"palette", files.File("c1.GPL")}, ""},
    };
    for (const auto& [args, output] : runs) {
        const Outcome r = Run(args);
        EXPECT_EQ(std::tuple(r.status, r.out, r.err), std::tuple(0, output, std::string()))
            << args[0];
    }
    const auto bitmap = [&](int i, ConversionMode mode) {
        return EncodeBitmap(Loaded(in[i], mode)).value();
    };
    EXPECT_EQ(ReadTestFile(files.File("c1.GPL")), EncodePaletteFile("x.gpl").value());
    EXPECT_EQ(ReadTestFile(files.File("n.bmp")), bitmap(0, ConversionMode::Nearest));
    EXPECT_EQ(ReadTestFile(files.File("d.bmp")), bitmap(0, ConversionMode::Dither));
    EXPECT_NE(bitmap(0, ConversionMode::Dither), bitmap(0, ConversionMode::Nearest));
    EXPECT_EQ(DecodeSpriteFile(ReadTestFile(dithered)).value().images,
              std::vector<Bytes>{Loaded(in[0], ConversionMode::Dither).pixels});
    ASSERT_EQ(out.Entries(),
              (Args{"my.sprites-000.bmp", "my.sprites-001.bmp", "my.sprites-002.bmp"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadTestFile(out.File(out.Entries()[i])), bitmap(i, ConversionMode::Nearest));
    }
}

// A failed command exits with 1 and the window's message; a wrong command line with 2 and a
// pointer to the help. Either way nothing is written.
TEST_F(Cli, FailuresAndUsageErrorsLeaveTheFilesAsTheyWere) {
    const std::string in = WritePicture("in.bmp", 2, 2), bad = files.File("bad.bmp"),
                      kept = files.File("kept"), cut = files.File("cut.spr"),
                      one = files.File("one.spr"), missing = files.File("missing"),
                      nowhere = files.File("no-such-folder");
    Bytes longer = BuildBitmap(TrueColourBitmap({{{1, 2, 3}}}));
    longer.push_back(0);  // one byte more than its size field says
    WriteTestFile(bad, longer);
    WriteTestFile(kept, {7, 7});
    WriteTestFile(cut, {1, 0, 10, 0, 0, 0, 2, 0, 2, 0, 1, 2, 3});  // 2 × 2 pixels from 3 bytes
    WriteTestFile(one, {1, 0, 10, 0, 0, 0, 1, 0, 1, 0, 5});
    const std::string read = "Unable to read ", write = " for write.\n",
                      unreadable = ": the pixels of sprite 0 lie outside the file.\n";
    const std::string usage = "Try 'quorvel-cli --help' for more information.\n";
    // clang-format off
    const std::tuple<Args, int, std::string> cases[] = {
        {{"convert", bad, kept}, 1, read + bad + ": the file size in its header does not match its length.\n"},
        {{"convert", missing, kept}, 1, "Unable to open " + missing + " for read.\n"},
        {{"convert", in, nowhere + "/out.bmp"}, 1, "Unable to open " + nowhere + "/out.bmp" + write},
        {{"list", cut}, 1, read + cut + unreadable},
        {{"palette", kept}, 1, "Unable to write " + kept + ": a palette file must end in .gpl, .act or .pal.\n"},
        {{"unpack", cut, files.path().string()}, 1, read + cut + unreadable},
        {{"unpack", one, nowhere + "/in"}, 1,
         "Unable to open " + nowhere + "/in/one-000.bmp" + write},
        {{}, 2, usage},
        {{"frobnicate"}, 2, usage},
        {{"convert", in}, 2, usage},
        {{"convert", "--sharpen", in, kept}, 2, usage},
        {{"unpack", kept}, 2, usage},
        {{"unpack", "--dither", one, kept}, 2, usage},
        {{"list", one, kept}, 2, usage},
        {{"palette", "--key", one}, 2, usage},
    };
    // clang-format on
    for (const auto& [args, status, message] : cases) {
        const Outcome r = Run(args);
        const std::size_t from = status == 1 ? 0 : std::min(r.err.find("Try"), r.err.size());
        EXPECT_EQ(std::tuple(r.status, r.err.substr(from), r.out), std::tuple(status, message, ""))
            << ::testing::PrintToString(args);
    }
    EXPECT_EQ(ReadTestFile(kept), (Bytes{7, 7}));
    EXPECT_EQ(files.Entries(), (Args{"bad.bmp", "cut.spr", "in.bmp", "kept", "one.spr"}));
    EXPECT_EQ(Run({"--help"}).status, 0);
}

TEST_F(Cli, BackgroundFileIsTheWholePictureReducedAndCutAndStitchesBack) {
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

TEST_F(Cli, BackgroundWrongShapesAreRefusedAndNothingIsWritten) {
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

TEST_F(Cli, PackTakesFoldersInNaturalOrderAndUnpackNamesSortBack) {
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

// The game's own files hold sprites without pixels. Unpacked into a folder it makes, they become
// bitmaps without pixels, also with --png, which says so; packed again, from the files or the
// folder, they come back at their numbers and the file byte for byte.
TEST_F(Cli, EmptySpritesSurviveUnpackAndPack) {
    const std::string game = files.File("game.spr"), again = files.File("again.spr");
    const Bytes original =
        EncodeSpriteFile({6,
                          {0, 5, 4, 0, 8, 3},
                          {0, 0, 2, 4, 1, 0},
                          {{}, {}, {20, 30, 40, 50, 60, 70, 80, 90}, {}, Bytes(8, 243), {}}})
            .value();
    WriteTestFile(game, original);
    const auto note = [](int i, const char* size, const std::string& name) {
        return "Sprite " + std::to_string(i) + " is " + size +
               " pixels, which a PNG file cannot hold; saved as the bitmap " + name + ".\n";
    };
    for (const bool png : {false, true}) {
        for (const bool byFolder : {false, true}) {
            SCOPED_TRACE(std::to_string(png) + std::to_string(byFolder));
            TempFolder out;
            const std::string folder = out.File("frames"), at = folder + "/game-00";
            const Outcome unpacked =
                Run(png ? Args{"unpack", "--png", game, folder} : Args{"unpack", game, folder});
            EXPECT_EQ(
                std::tuple(unpacked.status, unpacked.err),
                std::tuple(0,
                           png ? note(0, "0 × 0", at + "0.bmp") + note(1, "5 × 0", at + "1.bmp") +
                                     note(3, "0 × 4", at + "3.bmp") + note(5, "3 × 0", at + "5.bmp")
                               : ""));
            Args pack = {"pack", again};
            for (const std::string& name : TempFolder::EntriesOf(out.path() / "frames")) {
                pack.push_back(folder + "/" + name);
            }
            ASSERT_EQ(pack.size(), 8u);
            if (byFolder) {
                pack.resize(2);
                pack.push_back(folder);
            }
            EXPECT_EQ(Run(pack).status, 0);
            EXPECT_TRUE(ReadTestFile(again) == original);
        }
    }
}

TEST_F(Cli, PngIsReadByContentWrittenByNameAndBlackKept) {
    const auto run = [&](const Args& arguments) { return Run(arguments).status; };
    // Black around transparent pixels, under a name that is no PNG's.
    const std::string in = files.File("in.bmp"), out = files.File("out.PNG"),
                      spr = files.File("s.spr");
    WriteTestFile(in, ReadTestFile(std::string(QUORVEL_PNG_DATA) + "/noise-9x1.png"));
    const auto image =
        DecodePicture(ReadTestFile(in), ConversionMode::Dither, BlackHandling::KeepVisible);
    ASSERT_EQ(run({"convert", "--keep-black", "--dither", in, out}), 0);
    EXPECT_EQ(ReadTestFile(out), png::EncodeIndexedPng(image.value()).value());
    ASSERT_EQ(run({"pack", "--dither", "--keep-black", spr, in, out}), 0);
    ASSERT_EQ(run({"unpack", "--png", spr, files.path().string()}), 0);
    EXPECT_EQ(ReadTestFile(files.File("s-000.png")), ReadTestFile(out));
    EXPECT_EQ(ReadTestFile(files.File("s-001.png")), ReadTestFile(out));
    EXPECT_EQ(run({"convert", "--png", in, out}), 2);
}

}  // namespace
}  // namespace quorvel::testing
