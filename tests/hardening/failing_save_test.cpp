// Saves that fail after they have begun, for both writers: the disk filling up part-way, a
// write that makes no progress, a failed flush or rename, and a folder that has become read-only. Each is reported, keeps
// the earlier file of that name as it was, and leaves no temporary file in the folder.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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
using testing::Recorded;

const Bytes kEarlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};

struct Writer {
    const char* fileName;
    bool (*save)(const std::string& fileName);
};
const Writer kWriters[] = {{"picture.bmp", SaveBitmapFile}, {"sprites.spr", SaveSpriteFile}};

void PrepareImageAndSprites() {
    CurrentImage() = IndexedImage{64, 32, Bytes(64 * 32, 57)};
    CurrentSpriteSet() = SpriteSet{2, {40, 7}, {30, 3}, {Bytes(1200, 11), Bytes(21, 12)}};
}

// The disk fills up part-way (0), the flush fails (1), the rename fails (2), a write makes no
// progress (3).
int writesBeforeFailure = 0;
FileOperations Failing(int fault) {
    FileOperations os = SystemFileOperations();
    writesBeforeFailure = 1;
    if (fault == 0) {
        os.write = [](int fd, const void* data, std::size_t size) -> ssize_t {
            if (writesBeforeFailure-- > 0) {
                return SystemFileOperations().write(fd, data, size / 2 + 1);
            }
            errno = ENOSPC;
            return -1;
        };
    }
    if (fault == 1) {
        os.fsync = [](int) { return errno = EIO, -1; };
    }
    if (fault == 2) {
        os.rename = [](const char*, const char*) { return errno = EIO, -1; };
    }
    if (fault == 3) {
        os.write = [](int, const void*, std::size_t) -> ssize_t { return 0; };
    }
    return os;
}

TEST(FailingSave, IsReportedAndKeepsTheEarlierFileAndNoTemporary) {
    for (const Writer& writer : kWriters) {
        testing::TempFolder folder;
        const std::string path = folder.File(writer.fileName);
        PrepareImageAndSprites();
        for (int fault = 0; fault < 4; ++fault) {
            SCOPED_TRACE(std::string(writer.fileName) + ", fault " + std::to_string(fault));
            testing::WriteTestFile(path, kEarlier);
            testing::ResetRecorder();
            {
                ScopedFileOperations scoped(Failing(fault));
                EXPECT_FALSE(writer.save(path));
            }
            EXPECT_EQ(Recorded().fileErrors, Lines{"Unable to write " + path + "."});
            EXPECT_EQ(testing::ReadTestFile(path), kEarlier);
            EXPECT_EQ(folder.Entries(), Lines{writer.fileName});
        }
        EXPECT_TRUE(writer.save(path));  // the faults, not the data, made the saves fail
    }
}

// In a child process, which a root test run first turns into an unprivileged owner of the
// folder (permissions do not stop root). Exits 0 when all went as it should, 77 when
// permissions cannot be tested here.
int SaveIntoReadOnlyFolder(const Writer& writer, const std::string& folder) {
    const std::string path = folder + "/" + writer.fileName;
    if (geteuid() == 0 && (::chown(folder.c_str(), 65534, 65534) != 0 || ::setgid(65534) != 0 ||
                           ::setuid(65534) != 0)) {
        return 77;
    }
    PrepareImageAndSprites();
    if (!writer.save(path) || ::chmod(folder.c_str(), 0555) != 0 ||
        ::access(folder.c_str(), W_OK) == 0) {
        return 77;
    }
    const Bytes earlier = testing::ReadTestFile(path);
    CurrentImage() = IndexedImage{4, 1, {20, 21, 22, 23}};
    CurrentSpriteSet() = SpriteSet{1, {1}, {1}, {{99}}};
    testing::ResetRecorder();
    const bool ok = !writer.save(path) &&
                    Recorded().fileErrors == Lines{"Unable to open " + path + " for write."} &&
                    testing::ReadTestFile(path) == earlier;
    return ok ? 0 : 1;
}

TEST(FailingSave, AFolderThatBecameReadOnlyIsReportedAndKeepsTheEarlierFile) {
    for (const Writer& writer : kWriters) {
        testing::TempFolder folder;
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            _exit(SaveIntoReadOnlyFolder(writer, folder.path().string()));
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ::chmod(folder.path().c_str(), 0700);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 77) {
            GTEST_SKIP() << "a read-only folder cannot be made here";
        }
        EXPECT_EQ(WEXITSTATUS(status), 0) << writer.fileName;
        EXPECT_EQ(folder.Entries(), Lines{writer.fileName});
    }
}

}  // namespace
}  // namespace quorvel
