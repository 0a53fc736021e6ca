// Every file of the BMP Suite through the built `quorvel-cli convert`, in both modes: a good
// file of a depth the reader supports converts, a bad one is refused with a message, a
// questionable one does either, and none crashes the tool or draws a sanitizer report.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/file_access.h"
#include "tests/support/run_program.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

const fs::path kSuite = QUORVEL_BMPSUITE_DIR;

std::vector<fs::path> SuiteFiles() {
    std::vector<fs::path> files;
    for (const char* folder : {"g", "q", "b"}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(kSuite / folder, error)) {
            if (entry.path().extension() == ".bmp") {
                files.push_back(fs::path(folder) / entry.path().filename());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Bits per pixel as the info header states them (byte 24 of a 12-byte header, 28 of any
// longer one): 8, 16, 24 and 32 are read.
bool IsSupportedDepth(const fs::path& path) {
    const FileReadResult file = ReadWholeFile(path.string());
    const auto& b = file.bytes;
    const std::size_t at = b.size() > 15 && b[14] == 12 && b[15] == 0 ? 24 : 28;
    const unsigned bits = b.size() < 30 ? 0u : b[at] | b[at + 1] << 8u;
    return bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

class BmpSuiteConvert : public ::testing::TestWithParam<fs::path> {};

TEST_P(BmpSuiteConvert, EndsAsTheFolderPromises) {
    const fs::path input = kSuite / GetParam();
    const std::string folder = GetParam().parent_path().string();
    const bool mustConvert = folder == "g" && IsSupportedDepth(input);
    const bool mustRefuse = folder == "b" || (folder == "g" && !mustConvert);
    for (const bool dither : {false, true}) {
        testing::TempFolder scratch;
        const std::string output = scratch.File("out.bmp");
        std::vector<std::string> arguments = {"convert", input.string(), output};
        if (dither) {
            arguments.insert(arguments.begin() + 1, "--dither");
        }
        const testing::Outcome run = testing::RunProgram(QUORVEL_CLI_PATH, arguments, scratch);
        SCOPED_TRACE(std::string(dither ? "dither" : "nearest") + "\n" + run.err);
        ASSERT_LE(run.status, 1);  // not killed, no other failure
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos);
        EXPECT_EQ(run.err.find("runtime error"), std::string::npos);
        if (run.status == 0) {
            const FileReadResult written = ReadWholeFile(output);
            EXPECT_TRUE(DecodeBitmap(written.bytes, ConversionMode::Nearest).ok());
        } else {
            EXPECT_FALSE(fs::exists(output));
            EXPECT_NE(run.err.find("Unable to"), std::string::npos);
        }
        EXPECT_TRUE(!mustConvert || run.status == 0);
        EXPECT_TRUE(!mustRefuse || run.status == 1);
    }
}

std::string TestName(const ::testing::TestParamInfo<fs::path>& info) {
    std::string name = info.param.string();
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(All, BmpSuiteConvert, ::testing::ValuesIn(SuiteFiles()), TestName);

// Without the suite (a clone with no ../shared beside it) there is nothing to convert.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(BmpSuiteConvert);

TEST(BmpSuite, IsPresent) {
    if (!fs::is_directory(kSuite)) {
        GTEST_SKIP() << "the BMP Suite is not at " << kSuite
                     << ", so its files are not converted (it comes with ../shared/testdata)";
    }
    EXPECT_GE(SuiteFiles().size(), 60u) << kSuite;
}

}  // namespace
}  // namespace quorvel
