// Every file of the BMP Suite through the built `quorvel-cli convert`, in both modes: a good
// file of a depth the reader supports converts, a bad one is refused with a message, a
// questionable one does either, and none crashes the tool or draws a sanitizer report.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/bitmap_reader.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/run_program.h"

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

void ExpectEndsAsPromised(const std::string& input, char folder) {
    // Bits per pixel from the info header: byte 24 of a 12-byte header, 28 of a longer one.
    const std::vector<std::uint8_t> b = ReadTestFile(input);
    const std::size_t at = b.size() > 15 && b[14] == 12 && b[15] == 0 ? 24 : 28;
    const unsigned bits = b.size() < 30 ? 0u : b[at] | b[at + 1] << 8u;
    const bool supported = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    for (const bool dither : {false, true}) {
        TempFolder scratch;
        const std::string output = scratch.File("out.bmp");
        std::vector<std::string> arguments = {"convert", input, output};
        if (dither) {
            arguments.insert(arguments.begin() + 1, "--dither");
        }
        const Outcome run = RunProgram(QUORVEL_CLI_PATH, arguments, scratch);
        SCOPED_TRACE(input + (dither ? " dither\n" : " nearest\n") + run.err);
        ASSERT_LE(run.status, 1);  // not killed, no other failure
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos);
        EXPECT_EQ(run.err.find("runtime error"), std::string::npos);
        EXPECT_EQ(run.status == 0, fs::exists(output));
        EXPECT_EQ(run.status == 0,
                  DecodeBitmap(ReadTestFile(output), ConversionMode::Nearest).ok());
        EXPECT_EQ(run.status == 1, run.err.starts_with("Unable to"));
        EXPECT_TRUE(folder == 'q' || run.status == (folder == 'g' && supported ? 0 : 1));
    }
}

TEST(BmpSuiteConvert, EachFileEndsAsItsFolderPromises) {
    const fs::path suite = QUORVEL_BMPSUITE_DIR;
    if (!fs::is_directory(suite)) {
        GTEST_SKIP() << "the BMP Suite is not at " << suite
                     << ", so its files are not converted (it comes with ../shared/testdata)";
    }
    int files = 0;
    for (const char folder : {'g', 'q', 'b'}) {
        for (const auto& entry : fs::directory_iterator(suite / std::string(1, folder))) {
            if (entry.path().extension() == ".bmp") {
                ++files;
                ExpectEndsAsPromised(entry.path().string(), folder);
            }
        }
    }
    EXPECT_GE(files, 60) << suite;
}

}  // namespace
}  // namespace quorvel::testing
