// File access with names beyond the ANSI code page, and read-only targets.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "core/file_access.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/run_program.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

// Latin with diacritics and U+00D7, CJK, and a character beyond U+FFFF (two UTF-16 units).
const Lines kNames = {"Łódź ×", "画像 テスト", "palette \xF0\x9F\x8E\xA8"};
const Bytes kPicture = BuildBitmap(TrueColourBitmap({{{10, 200, 30}, {250, 5, 90}}}));

// Each name is converted, packed and unpacked by the CLI; a folder of that name is neither read
// nor replaced, and a read-only target is kept (Windows refuses to replace it, POSIX would not).
TEST(FileNames, AnyUnicodeNameIsReadAndWrittenAndAReadOnlyTargetIsKept) {
    for (const std::string& name : kNames) {
        SCOPED_TRACE(name);
        TempFolder folder, scratch;
        const std::string input = folder.File(name + ".bmp");
        const std::string output = folder.File(name + " 8-bit.bmp");
        const std::string sprites = folder.File(name + ".spr");
        const std::string unpacked = folder.File(name);
        WriteTestFile(input, kPicture);
        fs::create_directory(PathOf(unpacked));
        EXPECT_EQ(ReadWholeFile(unpacked).problem, FileProblem::CannotOpen);
        EXPECT_EQ(WriteFileAtomically(unpacked, kPicture), FileProblem::CannotOpen);
        for (const Lines& command : {Lines{"convert", input, output},
                                     {"pack", sprites, output},
                                     {"unpack", sprites, unpacked}}) {
            const Outcome run = RunProgram(QUORVEL_CLI_PATH, command, scratch);
            EXPECT_EQ(run.status, 0) << command[0] << ": " << run.err;
        }
        fs::permissions(PathOf(output), fs::perms::owner_read);
        const Outcome refused = RunProgram(QUORVEL_CLI_PATH, {"convert", input, output}, scratch);
        EXPECT_EQ(refused.err, "Unable to open " + output + " for write.\n");
        fs::permissions(PathOf(output), fs::perms::owner_all);
        const IndexedImage converted = DecodeBitmap(kPicture, ConversionMode::Nearest).value();
        EXPECT_EQ(ReadTestFile(output), EncodeBitmap(converted).value());
        EXPECT_EQ(ReadTestFile(unpacked + "/" + name + "-000.bmp"), ReadTestFile(output));
        EXPECT_EQ(folder.Entries(),
                  (Lines{name, name + " 8-bit.bmp", name + ".bmp", name + ".spr"}));
    }
}

}  // namespace
}  // namespace quorvel::testing
