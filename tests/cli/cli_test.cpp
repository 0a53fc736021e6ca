// Runs the built quorvel-cli as a user would and checks its exit status, its messages and
// the files it leaves.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "core/channel_tables.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::Bgr;
using testing::BuildBitmap;
using testing::Outcome;
using testing::ReadTestFile;
using testing::TempFolder;
using testing::WriteTestFile;

class CliTest : public ::testing::Test {
  protected:
    Outcome Run(const std::vector<std::string>& arguments) {
        return testing::RunProgram(QUORVEL_CLI_PATH, arguments, output);
    }

    // A 24-bit picture with enough colours for the two methods to differ.
    std::string WritePicture(const std::string& name) {
        std::vector<std::vector<Bgr>> rows(6, std::vector<Bgr>(7));
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 7; ++x) {
                rows[y][x] = {static_cast<std::uint8_t>(30 * x),
                              static_cast<std::uint8_t>(100 + 9 * y),
                              static_cast<std::uint8_t>(200 - 20 * x)};
            }
        }
        const std::string path = files.File(name);
        WriteTestFile(path, BuildBitmap(testing::TrueColourBitmap(rows)));
        return path;
    }

    // What the window would write for `input`: load, then save, in this process.
    Bytes Expected(const std::string& input, ConversionMode mode) {
        BuildChannelTables();
        const Result<IndexedImage> image = DecodeBitmap(ReadTestFile(input), mode);
        EXPECT_TRUE(image.ok());
        return EncodeBitmap(image.value()).value();
    }

    TempFolder files;
    TempFolder output;
};

TEST_F(CliTest, ConvertWritesWhatTheWindowWould) {
    const std::string input = WritePicture("in.bmp");
    const std::string nearest = files.File("nearest.bmp");
    const std::string dithered = files.File("dithered.bmp");

    Outcome r = Run({"convert", input, nearest});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadTestFile(nearest), Expected(input, ConversionMode::Nearest));

    r = Run({"convert", "--dither", input, dithered});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadTestFile(dithered), Expected(input, ConversionMode::Dither));
    EXPECT_NE(ReadTestFile(dithered), ReadTestFile(nearest));
}

TEST_F(CliTest, FailedConvertWritesNothingAndKeepsAnExistingOutput) {
    const std::string bad = files.File("bad.bmp");
    Bytes file = BuildBitmap(testing::TrueColourBitmap({{{1, 2, 3}}}));
    file.push_back(0);  // now one byte longer than its size field says
    WriteTestFile(bad, file);
    const std::string existing = files.File("existing.bmp");
    WriteTestFile(existing, {1, 2, 3});

    Outcome r = Run({"convert", bad, existing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Unable to read " + bad +
                         ": the file size in its header does not match its length.\n");
    EXPECT_EQ(ReadTestFile(existing), (Bytes{1, 2, 3}));

    const std::string missing = files.File("missing.bmp");
    const std::string fresh = files.File("fresh.bmp");
    r = Run({"convert", missing, fresh});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Unable to open " + missing + " for read.\n");

    const std::string input = WritePicture("in.bmp");
    const std::string unwritable = files.File("no-such-folder/out.bmp");
    r = Run({"convert", input, unwritable});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Unable to open " + unwritable + " for write.\n");

    EXPECT_EQ(files.Entries(), (std::vector<std::string>{"bad.bmp", "existing.bmp", "in.bmp"}));
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
    const std::string input = WritePicture("in.bmp");
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {},
             {"frobnicate"},
             {"convert"},
             {"convert", input},
             {"convert", input, files.File("a.bmp"), files.File("b.bmp")},
             {"convert", "--sharpen", input, files.File("a.bmp")},
         }) {
        const Outcome r = Run(arguments);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_NE(r.err.find("Try 'quorvel-cli --help'"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(files.Entries(), std::vector<std::string>{"in.bmp"});
}

TEST_F(CliTest, HelpAndVersion) {
    Outcome r = Run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "quorvel-cli 1.1.0.1\n");

    r = Run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("convert [--dither] INPUT.bmp OUTPUT.bmp"), std::string::npos) << r.out;

    r = Run({"convert", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Usage: quorvel-cli convert"), std::string::npos) << r.out;
}

TEST_F(CliTest, FileNamesAfterDoubleDashMayStartWithADash) {
    WritePicture("-in.bmp");
    const std::string folder = files.path().string();
    const Outcome r = Run({"convert", "--", folder + "/-in.bmp", folder + "/-out.bmp"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadTestFile(files.File("-out.bmp")),
              Expected(files.File("-in.bmp"), ConversionMode::Nearest));
}

}  // namespace
}  // namespace quorvel
