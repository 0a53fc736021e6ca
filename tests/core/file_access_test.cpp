#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "core/file_access.h"
#include "core/file_operations.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/temp_folder.h"

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ReadTestFile;
using testing::TempFolder;
using testing::WriteTestFile;

Bytes Sample(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return bytes;
}

TEST(ReadWholeFile, ReadsEveryByteOrTellsWhyNot) {
    TempFolder folder;
    for (std::size_t size : {0u, 70000u}) {
        WriteTestFile(folder.File("f"), Sample(size));
        EXPECT_EQ(ReadWholeFile(folder.File("f")).bytes, Sample(size));
    }
    // Files under /proc announce a length of 0 but have content.
    EXPECT_GT(ReadWholeFile("/proc/self/status").bytes.size(), 100u);
    EXPECT_EQ(ReadWholeFile(folder.File("missing")).problem, FileProblem::CannotOpen);
    EXPECT_EQ(ReadWholeFile(folder.path().string()).problem, FileProblem::CannotOpen);
    FileOperations failing = SystemFileOperations();
    failing.read = [](int, void*, std::size_t) -> ssize_t {
        errno = EIO;
        return -1;
    };
    ScopedFileOperations scoped(failing);
    EXPECT_EQ(ReadWholeFile(folder.File("f")).problem, FileProblem::Failed);
}

TEST(WriteFileAtomically, ReplacesKeepingPermissions) {
    TempFolder folder;
    const std::string path = folder.File("out");
    WriteTestFile(path, {1});
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    EXPECT_EQ(WriteFileAtomically(path, Sample(10)), FileProblem::None);
    EXPECT_EQ(ReadTestFile(path), Sample(10));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(WriteFileAtomically(folder.File("no/such/folder/out"), Sample(3)),
              FileProblem::CannotOpen);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out"});
}

}  // namespace
}  // namespace quorvel
