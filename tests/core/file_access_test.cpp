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

TEST(ReadWholeFile, ReadsEveryByte) {
    TempFolder folder;
    for (std::size_t size : {0u, 1u, 70000u}) {
        WriteTestFile(folder.File("f"), Sample(size));
        const FileReadResult read = ReadWholeFile(folder.File("f"));
        EXPECT_EQ(read.problem, FileProblem::None);
        EXPECT_EQ(read.bytes, Sample(size));
    }
}

TEST(ReadWholeFile, TellsCannotOpenFromFailedPartWay) {
    TempFolder folder;
    EXPECT_EQ(ReadWholeFile(folder.File("missing")).problem, FileProblem::CannotOpen);
    EXPECT_EQ(ReadWholeFile(folder.path().string()).problem, FileProblem::CannotOpen);

    WriteTestFile(folder.File("f"), Sample(100));
    FileOperations failing = SystemFileOperations();
    failing.read = [](int, void*, std::size_t) -> ssize_t {
        errno = EIO;
        return -1;
    };
    ScopedFileOperations scoped(failing);
    const FileReadResult read = ReadWholeFile(folder.File("f"));
    EXPECT_EQ(read.problem, FileProblem::Failed);
    EXPECT_TRUE(read.bytes.empty());
}

TEST(ReadWholeFile, ReadsPastTheAnnouncedLength) {
    // Files under /proc announce a length of 0 but have content.
    const FileReadResult read = ReadWholeFile("/proc/self/status");
    EXPECT_EQ(read.problem, FileProblem::None);
    EXPECT_GT(read.bytes.size(), 100u);
}

TEST(ReadWholeFile, CopesWithShortReads) {
    TempFolder folder;
    WriteTestFile(folder.File("f"), Sample(1000));
    FileOperations trickle = SystemFileOperations();
    trickle.read = [](int fd, void* buffer, std::size_t size) {
        return SystemFileOperations().read(fd, buffer, size < 3 ? size : 3);
    };
    ScopedFileOperations scoped(trickle);
    EXPECT_EQ(ReadWholeFile(folder.File("f")).bytes, Sample(1000));
}

TEST(WriteFileAtomically, CreatesAndReplaces) {
    TempFolder folder;
    const std::string path = folder.File("out");
    EXPECT_EQ(WriteFileAtomically(path, Sample(5000)), FileProblem::None);
    EXPECT_EQ(ReadTestFile(path), Sample(5000));
    EXPECT_EQ(WriteFileAtomically(path, Sample(10)), FileProblem::None);
    EXPECT_EQ(ReadTestFile(path), Sample(10));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out"});
}

TEST(WriteFileAtomically, KeepsThePermissionsOfTheReplacedFile) {
    TempFolder folder;
    const std::string path = folder.File("out");
    WriteTestFile(path, {1});
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    EXPECT_EQ(WriteFileAtomically(path, Sample(10)), FileProblem::None);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(WriteFileAtomically, CannotOpenWhenTheTargetCannotBeAFile) {
    TempFolder folder;
    EXPECT_EQ(WriteFileAtomically(folder.File("no/such/folder/out"), Sample(3)),
              FileProblem::CannotOpen);
    EXPECT_EQ(WriteFileAtomically(folder.path().string(), Sample(3)), FileProblem::CannotOpen);
    EXPECT_EQ(WriteFileAtomically(folder.path().string() + "/", Sample(3)),
              FileProblem::CannotOpen);
    EXPECT_TRUE(folder.Entries().empty());
}

TEST(WriteFileAtomically, CopesWithShortWrites) {
    TempFolder folder;
    FileOperations trickle = SystemFileOperations();
    trickle.write = [](int fd, const void* data, std::size_t size) {
        return SystemFileOperations().write(fd, data, size < 7 ? size : 7);
    };
    ScopedFileOperations scoped(trickle);
    EXPECT_EQ(WriteFileAtomically(folder.File("out"), Sample(100)), FileProblem::None);
    EXPECT_EQ(ReadTestFile(folder.File("out")), Sample(100));
}

// Every step that can fail after the temporary file exists: the write (at once, after some
// bytes went through, or making no progress), the flush, the close and the rename.
ssize_t WriteFails(int, const void*, std::size_t) {
    errno = ENOSPC;
    return -1;
}
int partWayWrites = 0;
ssize_t WriteStopsPartWay(int fd, const void* data, std::size_t size) {
    return partWayWrites++ == 0 ? SystemFileOperations().write(fd, data, size / 2)
                                : WriteFails(fd, data, size);
}
ssize_t WriteNothing(int, const void*, std::size_t) {
    return 0;
}
int FlushFails(int) {
    errno = EIO;
    return -1;
}
int CloseFails(int fd) {
    SystemFileOperations().close(fd);
    return FlushFails(fd);
}
int RenameFails(const char*, const char*) {
    errno = EXDEV;
    return -1;
}

struct Fault {
    const char* name;
    void (*install)(FileOperations&);
};

const Fault kFaults[] = {
    {"write fails", [](FileOperations& os) { os.write = WriteFails; }},
    {"write stops part-way",
     [](FileOperations& os) {
         partWayWrites = 0;
         os.write = WriteStopsPartWay;
     }},
    {"write makes no progress", [](FileOperations& os) { os.write = WriteNothing; }},
    {"flush fails", [](FileOperations& os) { os.fsync = FlushFails; }},
    {"close fails", [](FileOperations& os) { os.close = CloseFails; }},
    {"rename fails", [](FileOperations& os) { os.rename = RenameFails; }},
};

TEST(WriteFileAtomically, AnyFailureLeavesTheTargetAndNoTemporary) {
    for (const Fault& fault : kFaults) {
        TempFolder folder;
        const std::string path = folder.File("target");
        WriteTestFile(path, {9, 8, 7});
        FileOperations os = SystemFileOperations();
        fault.install(os);
        {
            ScopedFileOperations scoped(os);
            EXPECT_EQ(WriteFileAtomically(path, Sample(4096)), FileProblem::Failed) << fault.name;
        }
        EXPECT_EQ(ReadTestFile(path), (Bytes{9, 8, 7})) << fault.name;
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"target"}) << fault.name;
    }
}

TEST(WriteFileAtomically, AFailedFirstSaveLeavesNoFile) {
    TempFolder folder;
    FileOperations os = SystemFileOperations();
    kFaults[0].install(os);
    ScopedFileOperations scoped(os);
    EXPECT_EQ(WriteFileAtomically(folder.File("new"), Sample(10)), FileProblem::Failed);
    EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
}  // namespace quorvel
