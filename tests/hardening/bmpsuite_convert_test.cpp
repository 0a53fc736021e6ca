// Every file of the BMP Suite through the built `quorvel-cli convert`, in both modes: a good
// file of a depth the reader supports converts, a bad one is refused with a message, a
// questionable one does either, and none crashes the tool (an exit code above 1, a signal, or
// a sanitizer report in the sanitizer build).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/file_access.h"

extern char** environ;

namespace quorvel {
namespace {

namespace fs = std::filesystem;

const fs::path kSuite = QUORVEL_BMPSUITE_DIR;

struct SuiteFile {
    std::string folder;  // "g", "q" or "b"
    std::string name;
};

// Shown in the test's name and its messages.
void PrintTo(const SuiteFile& file, std::ostream* out) {
    *out << file.folder << '/' << file.name;
}

std::vector<SuiteFile> FilesIn(const std::string& folder) {
    std::vector<SuiteFile> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(kSuite / folder, error)) {
        if (entry.path().extension() == ".bmp") {
            files.push_back({folder, entry.path().filename().string()});
        }
    }
    std::sort(files.begin(), files.end(),
              [](const SuiteFile& a, const SuiteFile& b) { return a.name < b.name; });
    return files;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Bits per pixel as the info header states them (the 12-byte header keeps them at byte 24 of
// the file, every longer one at byte 28), or 0 when the file is too short to say.
unsigned StatedBitCount(const fs::path& path) {
    const std::string bytes = ReadText(path);
    if (bytes.size() < 30) {
        return 0;
    }
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
    const std::size_t at = byte(14) == 12 && byte(15) == 0 ? 24 : 28;
    return byte(at) | byte(at + 1) << 8;
}

bool IsSupportedDepth(unsigned bits) {
    return bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

struct ConverterRun {
    bool exited = false;
    int code = -1;   // the exit code when exited
    int signal = 0;  // the signal when killed
    std::string errors;
};

// Sanitizer reports are made to abort, so a report can never pass for a refusal (exit 1).
void MakeSanitizerReportsAbort() {
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
        const char* current = std::getenv(name);
        std::string options = current != nullptr ? current : "";
        options += options.empty() ? "abort_on_error=1" : ":abort_on_error=1";
        setenv(name, options.c_str(), 1);
    }
}

ConverterRun RunConverter(const std::vector<std::string>& arguments, const fs::path& errorsFile) {
    std::vector<std::string> all{QUORVEL_CLI_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorsFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);

    ConverterRun run;
    if (spawned != 0) {
        run.errors = "cannot start " + all[0];
        return run;
    }
    int status = 0;
    waitpid(child, &status, 0);
    run.exited = WIFEXITED(status);
    run.code = run.exited ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.errors = ReadText(errorsFile);
    return run;
}

class BmpSuiteConvert : public ::testing::TestWithParam<SuiteFile> {
  protected:
    static void SetUpTestSuite() { MakeSanitizerReportsAbort(); }

    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("quorvel-bmpsuite-" + std::to_string(getpid()) + "-" + GetParam().name);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
};

// What a run must show whatever the file: it ended normally with 0 or 1, no sanitizer spoke,
// a success wrote a bitmap the reader takes back, a refusal wrote nothing and said why.
void ExpectCleanOutcome(const ConverterRun& run, const fs::path& output) {
    ASSERT_TRUE(run.exited) << "killed by signal " << run.signal << "\n" << run.errors;
    ASSERT_LE(run.code, 1) << run.errors;
    EXPECT_EQ(run.errors.find("Sanitizer"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("runtime error"), std::string::npos) << run.errors;
    if (run.code == 0) {
        const FileReadResult written = ReadWholeFile(output.string());
        ASSERT_EQ(written.problem, FileProblem::None);
        const auto image = DecodeBitmap(written.bytes, ConversionMode::Nearest);
        EXPECT_TRUE(image.ok()) << (image.ok() ? "" : image.error());
    } else {
        EXPECT_FALSE(fs::exists(output));
        EXPECT_NE(run.errors.find("Unable to"), std::string::npos) << run.errors;
    }
}

TEST_P(BmpSuiteConvert, EndsAsTheFolderPromises) {
    const SuiteFile& file = GetParam();
    const fs::path input = kSuite / file.folder / file.name;
    const bool supported = IsSupportedDepth(StatedBitCount(input));

    for (const bool dither : {false, true}) {
        SCOPED_TRACE(dither ? "--dither" : "nearest colour");
        const fs::path output = folder_ / "out.bmp";
        fs::remove(output);
        std::vector<std::string> arguments{"convert"};
        if (dither) {
            arguments.push_back("--dither");
        }
        arguments.push_back(input.string());
        arguments.push_back(output.string());
        const ConverterRun run = RunConverter(arguments, folder_ / "errors.txt");

        ExpectCleanOutcome(run, output);
        if (file.folder == "g" && supported) {
            EXPECT_EQ(run.code, 0) << run.errors;
        } else if (file.folder == "b" || (file.folder == "g" && !supported)) {
            EXPECT_EQ(run.code, 1);
        }
    }
}

std::string TestName(const ::testing::TestParamInfo<SuiteFile>& info) {
    std::string name = info.param.name;
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Good, BmpSuiteConvert, ::testing::ValuesIn(FilesIn("g")), TestName);
INSTANTIATE_TEST_SUITE_P(Questionable, BmpSuiteConvert, ::testing::ValuesIn(FilesIn("q")),
                         TestName);
INSTANTIATE_TEST_SUITE_P(Bad, BmpSuiteConvert, ::testing::ValuesIn(FilesIn("b")), TestName);

TEST(BmpSuite, IsPresent) {
    EXPECT_GE(FilesIn("g").size(), 20u) << kSuite;
    EXPECT_GE(FilesIn("q").size(), 20u) << kSuite;
    EXPECT_GE(FilesIn("b").size(), 10u) << kSuite;
}

}  // namespace
}  // namespace quorvel
