// Whole-file reads, and saves through both writers that fail: a folder that refuses the new
// file, the disk filling up part-way, a write that makes no progress, a failed flush, close or
// rename. Each failure is reported, keeps the earlier file as it was and leaves no temporary.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <tuple>
#include <vector>

#include "core/bitmap_writer.h"
#include "core/file_access.h"
#include "core/file_operations.h"
#include "sprites/sprite_file.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;
using testing::ReadTestFile;
using testing::TempFolder;
using testing::WriteTestFile;

int writesLeft = 0;

ssize_t WriteHalfThenFillTheDisk(int fd, const void* data, std::size_t size) {
    if (writesLeft-- > 0) {
        return SystemFileOperations().write(fd, data, size / 2 + 1);
    }
    return errno = ENOSPC, -1;
}

using Os = FileOperations;
const struct {
    const char* name;
    void (*install)(Os&);
    bool opens;  // whether the temporary file is created at all
} kFaults[] = {
    {"read-only folder", [](Os& os) { os.open = [](auto...) { return errno = EACCES, -1; }; }, 0},
    {"disk full", [](Os& os) { os.write = WriteHalfThenFillTheDisk; }, 1},
    {"no progress", [](Os& os) { os.write = [](auto...) -> ssize_t { return 0; }; }, 1},
    {"flush", [](Os& os) { os.fsync = [](int) { return errno = EIO, -1; }; }, 1},
    {"close", [](Os& os) { os.close = [](int fd) { return ::close(fd), errno = EIO, -1; }; }, 1},
    {"rename", [](Os& os) { os.rename = [](auto...) { return errno = EIO, -1; }; }, 1},
};

TEST(FailingSave, IsReportedAndKeepsTheEarlierFileAndNoTemporary) {
    const struct {
        const char* fileName;
        bool (*save)(const std::string& fileName);
    } writers[] = {{"picture.bmp", SaveBitmapFile}, {"sprites.spr", SaveSpriteFile}};
    CurrentImage() = IndexedImage{64, 32, Bytes(64 * 32, 57)};
    CurrentSpriteSet() = SpriteSet{2, {40, 7}, {30, 3}, {Bytes(1200, 11), Bytes(21, 12)}};
    for (const auto& writer : writers) {
        TempFolder folder;
        const std::string path = folder.File(writer.fileName);
        const Bytes earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
        for (const auto& fault : kFaults) {
            SCOPED_TRACE(std::string(writer.fileName) + ", " + fault.name);
            WriteTestFile(path, earlier);
            testing::ResetRecorder();
            FileOperations os = SystemFileOperations();
            fault.install(os);
            writesLeft = 1;
            {
                ScopedFileOperations scoped(os);
                EXPECT_FALSE(writer.save(path));
            }
            EXPECT_EQ(testing::Recorded().fileErrors,
                      Lines{"Unable to " + std::string(fault.opens ? "write " : "open ") + path +
                            (fault.opens ? "." : " for write.")});
            EXPECT_EQ(std::tuple(ReadTestFile(path), folder.Entries()),
                      std::tuple(earlier, Lines{writer.fileName}));
        }
        EXPECT_TRUE(writer.save(path));  // the faults, not the data, made the saves fail
    }
}

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
}  // namespace quorvel
