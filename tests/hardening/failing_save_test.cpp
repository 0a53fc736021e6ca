// Saves through both writers that fail: a folder that refuses the new file, the disk filling
// up part-way, a write that makes no progress, a failed flush, close or rename. Each failure is
// reported, keeps the earlier file as it was and leaves no temporary, whatever the folder, on
// every system.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "core/bitmap_writer.h"
#include "core/file_operations.h"
#include "sprites/sprite_file.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

int writesLeft = 0;
std::string opened;  // the temporary file the save created

int OpenNoting(const char* path, int flags, mode_t mode) {
    opened = path;
    return SystemFileOperations().open(path, flags, mode);
}

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
    {"close",
     [](Os& os) {
         os.close = [](int fd) { return SystemFileOperations().close(fd), errno = EIO, -1; };
     },
     1},
    {"rename", [](Os& os) { os.rename = [](auto...) { return errno = EIO, -1; }; }, 1},
};

TEST(FailingSave, IsReportedAndKeepsTheEarlierFileAndNoTemporary) {
    const struct {
        const char* fileName;
        bool (*save)(const std::string& fileName);
    } writers[] = {{"picture.bmp", SaveBitmapFile}, {"sprites.spr", SaveSpriteFile}};
    CurrentImage() = IndexedImage{64, 32, Bytes(64 * 32, 57)};
    CurrentSpriteSet() = SpriteSet{2, {40, 7}, {30, 3}, {Bytes(1200, 11), Bytes(21, 12)}};
    // A name beyond the ANSI code page, and a subfolder named with '/' (File() joins with '\\'
    // on Windows).
    const std::string stem = "\xE7\x94\xBB\xE5\x83\x8F ";
    for (const auto& writer : writers) {
        TempFolder folder;
        std::filesystem::create_directory(folder.path() / "sub");
        for (const std::string& path :
             {folder.File(stem + writer.fileName), folder.File("sub") + "/" + writer.fileName}) {
            const Bytes earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
            for (const auto& fault : kFaults) {
                SCOPED_TRACE(path + ", " + fault.name);
                WriteTestFile(path, earlier);
                ResetRecorder();
                FileOperations os = SystemFileOperations();
                os.open = OpenNoting;
                fault.install(os);
                writesLeft = 1;
                opened.clear();
                {
                    ScopedFileOperations scoped(os);
                    EXPECT_FALSE(writer.save(path));
                }
                EXPECT_EQ(Recorded().fileErrors,
                          Lines{"Unable to " + std::string(fault.opens ? "write " : "open ") +
                                path + (fault.opens ? "." : " for write.")});
                EXPECT_EQ(ReadTestFile(path), earlier);
                // The temporary was beside the target, and is gone.
                EXPECT_TRUE(!fault.opens ||
                            PathOf(opened).parent_path() == PathOf(path).parent_path())
                    << opened;
                EXPECT_FALSE(!opened.empty() && std::filesystem::exists(PathOf(opened)));
            }
            EXPECT_TRUE(writer.save(path));  // the faults, not the data, made the saves fail
        }
        EXPECT_EQ(folder.Entries(), (Lines{"sub", stem + writer.fileName}));
    }
}

}  // namespace
}  // namespace quorvel::testing
