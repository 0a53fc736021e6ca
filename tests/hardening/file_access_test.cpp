// Whole-file reads and atomic replacement, where they depend on POSIX: files under /proc and
// permissions.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <tuple>
#include <vector>

#include "core/file_access.h"
#include "core/file_operations.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

TEST(ReadWholeFile, ReadsEveryByteOrTellsWhyNot) {
    TempFolder folder;
    Bytes sample(70000);
    for (std::size_t i = 0; i < sample.size(); ++i) {
        sample[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    WriteTestFile(folder.File("f"), sample);
    EXPECT_EQ(ReadWholeFile(folder.File("f")).bytes, sample);
    // Files under /proc announce a length of 0 but have content.
    EXPECT_GT(ReadWholeFile("/proc/self/status").bytes.size(), 100u);
    EXPECT_EQ(ReadWholeFile(folder.path().string()).problem, FileProblem::CannotOpen);
    FileOperations failing = SystemFileOperations();
    failing.read = [](int, void*, std::size_t) -> ssize_t { return errno = EIO, -1; };
    ScopedFileOperations scoped(failing);
    EXPECT_EQ(ReadWholeFile(folder.File("f")).problem, FileProblem::Failed);
}

TEST(WriteFileAtomically, ReplacesKeepingPermissions) {
    TempFolder folder;
    const std::string path = folder.File("out");
    WriteTestFile(path, {1});
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    EXPECT_EQ(WriteFileAtomically(path, Bytes{2, 3}), FileProblem::None);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(std::tuple(ReadTestFile(path), info.st_mode & 0777), std::tuple(Bytes{2, 3}, 0640u));
    EXPECT_EQ(folder.Entries(), Lines{"out"});
}

}  // namespace
}  // namespace quorvel::testing
