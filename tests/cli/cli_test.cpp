// Runs the built quorvel-cli as a user would and checks its exit status, its messages and the
// files it leaves.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
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

class Cli : public ::testing::Test {
  protected:
    Outcome Run(const Args& arguments) { return RunProgram(QUORVEL_CLI_PATH, arguments, scratch); }

    // A true-colour picture with enough colours for the two methods to differ.
    std::string WritePicture(const std::string& name, int width, int height) {
        std::vector<std::vector<Bgr>> rows(height, std::vector<Bgr>(width));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                rows[y][x] = {static_cast<std::uint8_t>(20 * x + 3 * y),
                              static_cast<std::uint8_t>(90 + 11 * y),
                              static_cast<std::uint8_t>(250 - 17 * x)};
            }
        }
        WriteTestFile(files.File(name), BuildBitmap(TrueColourBitmap(rows)));
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
    };
    for (const auto& [args, output] : runs) {
        const Outcome r = Run(args);
        EXPECT_EQ(std::tuple(r.status, r.out, r.err), std::tuple(0, output, std::string()))
            << args[0];
    }
    const auto bitmap = [&](int i, ConversionMode mode) {
        return EncodeBitmap(Loaded(in[i], mode)).value();
    };
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
                      empty = files.File("empty.bmp"), kept = files.File("kept"),
                      cut = files.File("cut.spr"), one = files.File("one.spr"),
                      missing = files.File("missing"), nowhere = files.File("no-such-folder");
    Bytes longer = BuildBitmap(TrueColourBitmap({{{1, 2, 3}}}));
    longer.push_back(0);  // one byte more than its size field says
    WriteTestFile(bad, longer);
    WriteTestFile(empty, BuildBitmap(TrueColourBitmap({})));
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
        {{"pack", kept, in, empty}, 1, "Unable to add " + empty + ": the image has no pixels.\n"},
        {{"list", cut}, 1, read + cut + unreadable},
        {{"unpack", cut, files.path().string()}, 1, read + cut + unreadable},
        {{"unpack", one, nowhere}, 1, "Unable to open " + nowhere + "/one-000.bmp" + write},
        {{}, 2, usage},
        {{"frobnicate"}, 2, usage},
        {{"convert", in}, 2, usage},
        {{"convert", "--sharpen", in, kept}, 2, usage},
        {{"unpack", kept}, 2, usage},
        {{"unpack", "--dither", one, kept}, 2, usage},
        {{"list", one, kept}, 2, usage},
    };
    // clang-format on
    for (const auto& [args, status, message] : cases) {
        const Outcome r = Run(args);
        const std::size_t from = status == 1 ? 0 : std::min(r.err.find("Try"), r.err.size());
        EXPECT_EQ(std::tuple(r.status, r.err.substr(from), r.out), std::tuple(status, message, ""))
            << ::testing::PrintToString(args);
    }
    EXPECT_EQ(ReadTestFile(kept), (Bytes{7, 7}));
    EXPECT_EQ(files.Entries(),
              (Args{"bad.bmp", "cut.spr", "empty.bmp", "in.bmp", "kept", "one.spr"}));
    EXPECT_EQ(Run({"--help"}).status, 0);
}

}  // namespace
}  // namespace quorvel::testing
