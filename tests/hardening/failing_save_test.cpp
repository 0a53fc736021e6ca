// Saves that fail after they have begun, for both writers: the disk filling up part-way, a
// write or flush error, a failed close or rename, and a folder that has become read-only.
// Each must be reported with the window's message, keep the earlier file of that name as it
// was, and leave no temporary file in the folder.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/bitmap_writer.h"
#include "core/file_operations.h"
#include "core/indexed_image.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;
using testing::Recorded;
using testing::TempFolder;

// The two writers, each with something to save.
struct Writer {
    const char* name;
    const char* fileName;
    void (*prepare)();
    bool (*save)(const std::string& fileName);
};

Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(11 + i % 200);
    }
    return bytes;
}

const Writer kWriters[] = {
    {"bitmap", "picture.bmp",
     [] {
         CurrentImage() = IndexedImage{64, 32, Pattern(64 * 32)};
     },
     SaveBitmapFile},
    {"sprite file", "sprites.spr",
     [] {
         CurrentSpriteSet() = SpriteSet{2, {40, 7}, {30, 3}, {Pattern(1200), Pattern(21)}};
     },
     SaveSpriteFile},
};

// What a save found before it: not a file either writer would make.
const Bytes kEarlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};

int writesBeforeFailure = 0;

ssize_t WriteHalfThen(int fd, const void* data, std::size_t size, int error) {
    if (writesBeforeFailure-- > 0) {
        return SystemFileOperations().write(fd, data, size / 2 + 1);
    }
    errno = error;
    return -1;
}

struct Fault {
    const char* name;
    void (*install)(FileOperations&);
};

const Fault kFaults[] = {
    {"the disk fills up part-way",
     [](FileOperations& os) {
         writesBeforeFailure = 1;
         os.write = [](int fd, const void* data, std::size_t size) {
             return WriteHalfThen(fd, data, size, ENOSPC);
         };
     }},
    {"a write error part-way",
     [](FileOperations& os) {
         writesBeforeFailure = 1;
         os.write = [](int fd, const void* data, std::size_t size) {
             return WriteHalfThen(fd, data, size, EIO);
         };
     }},
    {"the disk is full when flushing",
     [](FileOperations& os) {
         os.fsync = [](int) {
             errno = ENOSPC;
             return -1;
         };
     }},
    {"closing fails",
     [](FileOperations& os) {
         os.close = [](int fd) {
             SystemFileOperations().close(fd);
             errno = EIO;
             return -1;
         };
     }},
    {"the rename fails",
     [](FileOperations& os) {
         os.rename = [](const char*, const char*) {
             errno = EIO;
             return -1;
         };
     }},
};

TEST(FailingSave, IsReportedAndKeepsTheEarlierFileAndNoTemporary) {
    for (const Writer& writer : kWriters) {
        for (const Fault& fault : kFaults) {
            SCOPED_TRACE(std::string(writer.name) + ", " + fault.name);
            TempFolder folder;
            const std::string path = folder.File(writer.fileName);
            testing::WriteTestFile(path, kEarlier);
            testing::ResetRecorder();
            writer.prepare();

            FileOperations os = SystemFileOperations();
            fault.install(os);
            {
                ScopedFileOperations scoped(os);
                EXPECT_FALSE(writer.save(path));
            }
            EXPECT_EQ(Recorded().fileErrors, Lines{"Unable to write " + path + "."});
            EXPECT_EQ(testing::ReadTestFile(path), kEarlier);
            EXPECT_EQ(folder.Entries(), Lines{writer.fileName});
        }
    }
}

TEST(FailingSave, TheSameSaveSucceedsOnceTheFaultIsGone) {
    // The faults above, not the data, made the saves fail.
    for (const Writer& writer : kWriters) {
        TempFolder folder;
        const std::string path = folder.File(writer.fileName);
        testing::WriteTestFile(path, kEarlier);
        testing::ResetRecorder();
        writer.prepare();
        EXPECT_TRUE(writer.save(path)) << writer.name;
        EXPECT_TRUE(Recorded().fileErrors.empty()) << writer.name;
        EXPECT_NE(testing::ReadTestFile(path), kEarlier) << writer.name;
        EXPECT_EQ(folder.Entries(), Lines{writer.fileName}) << writer.name;
    }
}

// The read-only case runs in a child process, which a root test run first turns into an
// unprivileged user (the owner of the folder), since permissions do not stop root. The child
// reports what went wrong on standard error and in its exit code.
constexpr int kCannotTest = 77;
constexpr uid_t kUnprivileged = 65534;

int SaveIntoReadOnlyFolder(const Writer& writer, const std::string& folder,
                           const std::string& path) {
    if (geteuid() == 0) {
        if (::chown(folder.c_str(), kUnprivileged, kUnprivileged) != 0 ||
            ::setgid(kUnprivileged) != 0 || ::setuid(kUnprivileged) != 0) {
            return kCannotTest;
        }
    }
    int failures = 0;
    const auto check = [&failures](bool ok, const char* what) {
        if (!ok) {
            std::fprintf(stderr, "failed: %s\n", what);
            ++failures;
        }
    };

    // The earlier file, written while the folder could still take it.
    writer.prepare();
    testing::ResetRecorder();
    check(writer.save(path), "the first save succeeds");
    const Bytes earlier = testing::ReadTestFile(path);

    ::chmod(folder.c_str(), 0555);
    const std::string probe = folder + "/probe";
    if (FILE* created = std::fopen(probe.c_str(), "w")) {
        std::fclose(created);
        std::remove(probe.c_str());
        return kCannotTest;  // permissions are not enforced here
    }

    CurrentImage() = IndexedImage{4, 1, {20, 21, 22, 23}};
    CurrentSpriteSet() = SpriteSet{1, {1}, {1}, {{99}}};
    testing::ResetRecorder();
    check(!writer.save(path), "the save into the read-only folder fails");
    check(Recorded().fileErrors == Lines{"Unable to open " + path + " for write."},
          "the failure is reported as a failed open");
    check(testing::ReadTestFile(path) == earlier, "the earlier file is intact");
    ::chmod(folder.c_str(), 0755);
    return failures == 0 ? 0 : 1;
}

TEST(FailingSave, AFolderThatBecameReadOnlyIsReportedAndKeepsTheEarlierFile) {
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        TempFolder folder;
        const std::string path = folder.File(writer.fileName);
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            _exit(SaveIntoReadOnlyFolder(writer, folder.path().string(), path));
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ::chmod(folder.path().c_str(), 0700);
        ASSERT_TRUE(WIFEXITED(status)) << "the child was killed by signal " << WTERMSIG(status);
        if (WEXITSTATUS(status) == kCannotTest) {
            GTEST_SKIP() << "a read-only folder cannot be made here";
        }
        EXPECT_EQ(WEXITSTATUS(status), 0) << "see the child's messages above";
        EXPECT_EQ(folder.Entries(), Lines{writer.fileName});
    }
}

}  // namespace
}  // namespace quorvel
