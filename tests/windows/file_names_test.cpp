// File access with names beyond the ANSI code page, failed saves and read-only targets.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "core/file_access.h"
#include "core/file_operations.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/run_program.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

// Latin with diacritics and U+00D7, CJK, and a character beyond U+FFFF (two UTF-16 units).
const Lines kNames = {"Łódź ×", "画像 テスト", "palette \xF0\x9F\x8E\xA8"};
const Bytes kPicture = BuildBitmap(TrueColourBitmap({{{10, 200, 30}, {250, 5, 90}}}));
const FileOperations kSystem = SystemFileOperations();

// Each name is converted, packed and unpacked by the CLI; a folder of that name is neither read
// nor replaced, and a read-only target is kept (Windows refuses to replace it, POSIX would not).
TEST(FileNames, AnyUnicodeNameIsReadAndWrittenAndAReadOnlyTargetIsKept) {
    for (const std::string& name : kNames) {
        SCOPED_TRACE(name);
        TempFolder folder, scratch;
        const std::string input = folder.File(name + ".bmp");
        const std::string output = folder.File(name + " 8-bit.bmp");
        const std::string sprites = folder.File(name + ".spr");
        const std::string unpacked = folder.File(name);
        WriteTestFile(input, kPicture);
        fs::create_directory(PathOf(unpacked));
        EXPECT_EQ(ReadWholeFile(unpacked).problem, FileProblem::CannotOpen);
        EXPECT_EQ(WriteFileAtomically(unpacked, kPicture), FileProblem::CannotOpen);
        for (const Lines& command : {Lines{"convert", input, output},
                                     {"pack", sprites, output},
                                     {"unpack", sprites, unpacked}}) {
            const Outcome run = RunProgram(QUORVEL_CLI_PATH, command, scratch);
            EXPECT_EQ(run.status, 0) << command[0] << ": " << run.err;
        }
        fs::permissions(PathOf(output), fs::perms::owner_read);
        const Outcome refused = RunProgram(QUORVEL_CLI_PATH, {"convert", input, output}, scratch);
        EXPECT_EQ(refused.err, "Unable to open " + output + " for write.\n");
        fs::permissions(PathOf(output), fs::perms::owner_all);
        const IndexedImage converted = DecodeBitmap(kPicture, ConversionMode::Nearest).value();
        EXPECT_EQ(ReadTestFile(output), EncodeBitmap(converted).value());
        EXPECT_EQ(ReadTestFile(unpacked + "/" + name + "-000.bmp"), ReadTestFile(output));
        EXPECT_EQ(folder.Entries(),
                  (Lines{name, name + " 8-bit.bmp", name + ".bmp", name + ".spr"}));
    }
}

// The file a save opened, and the step that fails: 1 a write (after half the bytes, as on a
// full disk), 2 the flush, 3 the replacing rename; 0 none.
std::string opened;
int failing = 0;

FileOperations Failing() {
    FileOperations os = kSystem;
    os.open = [](const char* path, int flags, mode_t mode) {
        opened = path;
        return kSystem.open(path, flags, mode);
    };
    os.write = [](int fd, const void* data, std::size_t size) -> ssize_t {
        const std::size_t part = failing == 1 ? size / 2 : size;  // 0 once down to 1 byte
        return part == 0 ? (errno = ENOSPC, -1) : kSystem.write(fd, data, part);
    };
    os.fsync = [](int fd) { return failing == 2 ? (errno = EIO, -1) : kSystem.fsync(fd); };
    os.rename = [](const char* from, const char* to) {
        return failing == 3 ? (errno = EACCES, -1) : kSystem.rename(from, to);
    };
    return os;
}

// A save replaces the earlier file whole or keeps it, by a temporary file beside it.
TEST(FileNames, ASaveReplacesTheEarlierFileOrKeepsItAndLeavesNoTemporary) {
    TempFolder folder;
    fs::create_directory(folder.path() / "sub");  // File() joins with '\\' on Windows
    const std::string name = kNames[1] + ".bmp";
    CurrentImage() = IndexedImage{3, 2, Bytes(6, 40)};
    ScopedFileOperations scoped(Failing());
    for (const std::string& path : {folder.File(name), folder.File("sub") + "/" + name}) {
        for (failing = 0; failing < 4; ++failing) {
            SCOPED_TRACE(path + ", failing step " + std::to_string(failing));
            WriteTestFile(path, kPicture);
            ResetRecorder();
            EXPECT_EQ(SaveBitmapFile(path), failing == 0);
            EXPECT_EQ(PathOf(opened).parent_path(), PathOf(path).parent_path()) << opened;
            EXPECT_FALSE(fs::exists(PathOf(opened)));
            EXPECT_EQ(ReadTestFile(path),
                      failing ? kPicture : EncodeBitmap(CurrentImage()).value());
            EXPECT_EQ(Recorded().fileErrors,
                      failing ? Lines{"Unable to write " + path + "."} : Lines{});
        }
    }
}

}  // namespace
}  // namespace quorvel::testing
