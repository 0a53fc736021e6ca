// Saves that fail, for both writers: a folder that refuses the new file, the disk filling up
// part-way, a write that makes no progress, a failed flush or rename. Each is reported, keeps
// the earlier file of that name as it was, and leaves no temporary file in the folder.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "core/bitmap_writer.h"
#include "core/file_operations.h"
#include "sprites/sprite_file.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

int writesLeft = 0;

ssize_t WriteHalfThenFillTheDisk(int fd, const void* data, std::size_t size) {
    if (writesLeft-- > 0) {
        return SystemFileOperations().write(fd, data, size / 2 + 1);
    }
    errno = ENOSPC;
    return -1;
}

const struct {
    const char* name;
    void (*install)(FileOperations&);
    bool opens;  // whether the temporary file is created at all
} kFaults[] = {
    {"read-only folder",
     [](FileOperations& os) {
         os.open = [](const char*, int, mode_t) { return errno = EACCES, -1; };
     },
     false},
    {"disk full", [](FileOperations& os) { os.write = WriteHalfThenFillTheDisk; }, true},
    {"no progress",
     [](FileOperations& os) {
         os.write = [](int, const void*, std::size_t) -> ssize_t { return 0; };
     },
     true},
    {"flush", [](FileOperations& os) { os.fsync = [](int) { return errno = EIO, -1; }; }, true},
    {"close",
     [](FileOperations& os) { os.close = [](int fd) { return ::close(fd), errno = EIO, -1; }; },
     true},
    {"rename",
     [](FileOperations& os) {
         os.rename = [](const char*, const char*) { return errno = EIO, -1; };
     },
     true},
};

TEST(FailingSave, IsReportedAndKeepsTheEarlierFileAndNoTemporary) {
    const struct {
        const char* fileName;
        bool (*save)(const std::string& fileName);
    } writers[] = {{"picture.bmp", SaveBitmapFile}, {"sprites.spr", SaveSpriteFile}};
    CurrentImage() = IndexedImage{64, 32, Bytes(64 * 32, 57)};
    CurrentSpriteSet() = SpriteSet{2, {40, 7}, {30, 3}, {Bytes(1200, 11), Bytes(21, 12)}};
    for (const auto& writer : writers) {
        testing::TempFolder folder;
        const std::string path = folder.File(writer.fileName);
        for (const auto& fault : kFaults) {
            SCOPED_TRACE(std::string(writer.fileName) + ", " + fault.name);
            testing::WriteTestFile(path, {'e', 'a', 'r', 'l', 'i', 'e', 'r'});
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
            EXPECT_EQ(testing::ReadTestFile(path), (Bytes{'e', 'a', 'r', 'l', 'i', 'e', 'r'}));
            EXPECT_EQ(folder.Entries(), Lines{writer.fileName});
        }
        EXPECT_TRUE(writer.save(path));  // the faults, not the data, made the saves fail
    }
}

}  // namespace
}  // namespace quorvel
