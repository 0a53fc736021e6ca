// Whole-file reads and atomic replacement, where they depend on POSIX: files under /proc,
// permissions, symbolic links, pipes and devices.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/file_access.h"
#include "core/file_operations.h"
#include "core/file_view.h"
#include "core/read_reported.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
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

// A mapped file cut short by another program must not end this one: the missing part reads
// as zeros and the view says it is no longer whole, also once released.
TEST(ViewWholeFile, SeesALargeFileAndSurvivesItsBeingCutShort) {
    TempFolder folder;
    const std::size_t size = 3 * kMapFilesFrom + 5;
    Bytes sample(size);
    for (std::size_t i = 0; i < size; ++i) {
        sample[i] = static_cast<std::uint8_t>(i % 251 + 1);
    }
    WriteTestFile(folder.File("big"), sample);
    FileViewResult file = ViewWholeFile(folder.File("big"));
    ASSERT_EQ(file.problem, FileProblem::None);
    EXPECT_TRUE(std::ranges::equal(file.view.bytes(), sample));
    EXPECT_TRUE(file.view.Intact());

    ASSERT_EQ(::truncate(folder.File("big").c_str(), kMapFilesFrom), 0);
    const std::span<const std::uint8_t> seen = file.view.bytes();
    EXPECT_TRUE(std::equal(seen.begin(), seen.begin() + kMapFilesFrom, sample.begin()));
    EXPECT_TRUE(
        std::all_of(seen.begin() + kMapFilesFrom, seen.end(), [](auto b) { return b == 0; }));
    EXPECT_FALSE(file.view.Intact());
    ResetRecorder();
    EXPECT_FALSE(ReportIfCutShort(file.view, "big"));
    EXPECT_EQ(Recorded().fileErrors,
              Lines{"Unable to read big: the file could not be read to its end."});
    file.view.Release();
    EXPECT_FALSE(file.view.Intact());
    EXPECT_TRUE(ViewWholeFile(folder.File("big")).view.Intact());
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

namespace fs = std::filesystem;

void Link(const TempFolder& t, const char* at, const char* target) {
    fs::create_symlink(target, t.path() / at);
}

// What a save goes to, made in the folders "a" and "b" (or "" where only root may make it).
const struct {
    const char* name;
    std::string (*make)(const TempFolder& t);
    Lines a, b;          // what the folders hold after the save: no temporary file is left
    const char* holder;  // the file that then holds the bytes; "" for a pipe or a device
    fs::file_type type;  // of the name saved to, links not followed
} kTargets[] = {
    // clang-format off
    {"link to a file in another folder", [](const TempFolder& t) {
         WriteTestFile(t.File("b/file"), {1});
         Link(t, "a/link", "../b/file");
         return t.File("a/link"); },
     {"link"}, {"file"}, "b/file", fs::file_type::symlink},
    {"chain of links, each relative to its own folder", [](const TempFolder& t) {
         WriteTestFile(t.File("a/file"), {1});
         Link(t, "b/back", "../a/file");
         Link(t, "a/link", "../b/back");
         return t.File("a/link"); },
     {"file", "link"}, {"back"}, "a/file", fs::file_type::symlink},
    {"link to a file not there yet", [](const TempFolder& t) {
         Link(t, "a/link", "../b/file");
         return t.File("a/link"); },
     {"link"}, {"file"}, "b/file", fs::file_type::symlink},
    {"named pipe", [](const TempFolder& t) {
         return ::mkfifo(t.File("a/pipe").c_str(), 0600) == 0 ? t.File("a/pipe") : ""; },
     {"pipe"}, {}, "", fs::file_type::fifo},
    {"character device", [](const TempFolder& t) {
         const std::string name = t.File("a/null");
         return ::mknod(name.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? name : ""; },
     {"null"}, {}, "", fs::file_type::character},
    // clang-format on
};

// Through symbolic links the file at the end of the chain is replaced, the temporary beside it,
// and the links stay; a pipe or a device is written straight through and stays what it is.
TEST(WriteFileAtomically, FollowsLinksAndWritesPipesAndDevicesInPlace) {
    const Bytes data = {'n', 'e', 'w'};
    for (const auto& target : kTargets) {
        SCOPED_TRACE(target.name);
        TempFolder t;
        fs::create_directory(t.path() / "a");
        fs::create_directory(t.path() / "b");
        const std::string path = target.make(t);
        if (path.empty()) {
            EXPECT_NE(::geteuid(), 0u);  // a device only as root
            continue;
        }
        // Opened without waiting for a writer, so a save that replaced the pipe could not
        // leave the test waiting; the few bytes wait in the pipe.
        const bool pipe = target.type == fs::file_type::fifo;
        const int reader = pipe ? ::open(path.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        EXPECT_EQ(WriteFileAtomically(path, data), FileProblem::None);
        Bytes got = data;
        if (pipe) {
            got.assign(16, 0);
            got.resize(static_cast<std::size_t>(std::max<ssize_t>(::read(reader, &got[0], 16), 0)));
            ::close(reader);
        } else if (*target.holder != '\0') {
            got = ReadTestFile(t.File(target.holder));
        }
        EXPECT_EQ(got, data);
        EXPECT_EQ(std::tuple(fs::symlink_status(path).type(), TempFolder::EntriesOf(t.path() / "a"),
                             TempFolder::EntriesOf(t.path() / "b")),
                  std::tuple(target.type, target.a, target.b));
    }
}

}  // namespace
}  // namespace quorvel::testing
