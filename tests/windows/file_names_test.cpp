// File access as Windows users meet it, checked on every system alike: names beyond the ANSI
// code page, native folder separators, saves that fail part-way, and read-only targets.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "core/file_access.h"
#include "core/file_operations.h"
#include "core/indexed_image.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

// Latin with diacritics and U+00D7, CJK, and a character outside the Basic Multilingual Plane
// (a surrogate pair in UTF-16).
const Lines kNames = {"Łódź ×", "画像 テスト", "palette \xF0\x9F\x8E\xA8"};

const Bytes kEarlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};

Bytes Picture() {
    return BuildBitmap(TrueColourBitmap({{{10, 200, 30}, {250, 5, 90}}, {{0, 0, 0}, {77, 77, 7}}}));
}

TEST(FileNames, AnyUnicodeNameIsReadWrittenAndConvertedByTheCli) {
    for (const std::string& name : kNames) {
        SCOPED_TRACE(name);
        TempFolder folder, scratch;
        const std::string input = folder.File(name + ".bmp");
        const std::string output = folder.File(name + " 8-bit.bmp");
        EXPECT_EQ(WriteFileAtomically(input, Picture()), FileProblem::None);
        EXPECT_EQ(ReadWholeFile(input).bytes, Picture());
        const Outcome converted = RunProgram(QUORVEL_CLI_PATH, {"convert", input, output}, scratch);
        EXPECT_EQ(converted.status, 0) << converted.err;
        CurrentImage() = DecodeBitmap(Picture(), ConversionMode::Nearest).value();
        EXPECT_EQ(ReadTestFile(output), EncodeBitmap(CurrentImage()).value());

        // The sprite file's stem names the unpacked bitmaps, in a folder named alike.
        const std::string sprites = folder.File(name + ".spr");
        const std::string unpacked = folder.File(name);
        fs::create_directory(PathOf(unpacked));
        EXPECT_EQ(RunProgram(QUORVEL_CLI_PATH, {"pack", sprites, output}, scratch).status, 0);
        EXPECT_EQ(RunProgram(QUORVEL_CLI_PATH, {"unpack", sprites, unpacked}, scratch).status, 0);
        EXPECT_EQ(ReadTestFile(unpacked + "/" + name + "-000.bmp"), ReadTestFile(output));
        EXPECT_EQ(folder.Entries(),
                  (Lines{name, name + " 8-bit.bmp", name + ".bmp", name + ".spr"}));
    }
}

// The temporary file of a save, whichever separator the name uses.
std::string opened;
int RecordingOpen(const char* path, int flags, mode_t mode) {
    opened = path;
    return SystemFileOperations().open(path, flags, mode);
}

TEST(FileNames, TheTemporaryFileLiesInTheTargetsFolder) {
    TempFolder folder;
    fs::create_directory(folder.path() / "sub");
    FileOperations os = SystemFileOperations();
    os.open = RecordingOpen;
    ScopedFileOperations scoped(os);
    // File() joins with the system's own separator: '\\' on Windows.
    const std::string inSub = folder.File("sub") + "/" + kNames[0] + ".bmp";
    for (const std::string& path : {folder.File(kNames[0] + ".bmp"), inSub}) {
        EXPECT_EQ(WriteFileAtomically(path, kEarlier), FileProblem::None);
        const std::size_t folderEnd = path.size() - kNames[0].size() - 4;
        EXPECT_EQ(opened.substr(0, folderEnd), path.substr(0, folderEnd)) << opened;
        EXPECT_EQ(opened.find_first_of("/\\", folderEnd), std::string::npos) << opened;
        EXPECT_EQ(ReadTestFile(path), kEarlier);
    }
    EXPECT_EQ(folder.Entries(), (Lines{"sub", kNames[0] + ".bmp"}));
}

// A write that stops half-way with a full disk, a flush that fails, a replace that fails.
FileOperations Failing(int fault) {
    FileOperations os = SystemFileOperations();
    if (fault == 0) {
        os.write = [](int fd, const void* data, std::size_t size) -> ssize_t {
            static bool once = false;
            once = !once;
            return once ? SystemFileOperations().write(fd, data, size / 2) : (errno = ENOSPC, -1);
        };
    } else if (fault == 1) {
        os.fsync = [](int) { return errno = EIO, -1; };
    } else {
        os.rename = [](const char*, const char*) { return errno = EACCES, -1; };
    }
    return os;
}

TEST(FileNames, AFailedSaveKeepsTheEarlierFileAndLeavesNoTemporary) {
    TempFolder folder;
    const std::string path = folder.File(kNames[1] + ".bmp");
    CurrentImage() = IndexedImage{3, 2, Bytes(6, 40)};
    for (int fault = 0; fault < 3; ++fault) {
        SCOPED_TRACE(fault);
        WriteTestFile(path, kEarlier);
        ResetRecorder();
        {
            ScopedFileOperations scoped(Failing(fault));
            EXPECT_FALSE(SaveBitmapFile(path));
        }
        EXPECT_EQ(Recorded().fileErrors, Lines{"Unable to write " + path + "."});
        EXPECT_EQ(ReadTestFile(path), kEarlier);
        EXPECT_EQ(folder.Entries(), Lines{kNames[1] + ".bmp"});
    }
}

// A POSIX rename would replace a read-only file and Windows refuses to; either way the file is
// kept and the save says it could not open it, the way the CLI reports any unwritable target.
TEST(FileNames, AReadOnlyTargetIsKept) {
    TempFolder folder, scratch;
    const std::string path = folder.File(kNames[0] + ".bmp");
    WriteTestFile(path, kEarlier);
    const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(PathOf(path), writable, fs::perm_options::remove);
    CurrentImage() = IndexedImage{3, 2, Bytes(6, 40)};
    ResetRecorder();
    EXPECT_FALSE(SaveBitmapFile(path));
    EXPECT_EQ(Recorded().fileErrors, Lines{"Unable to open " + path + " for write."});
    WriteTestFile(folder.File("in.bmp"), Picture());
    const Outcome cli =
        RunProgram(QUORVEL_CLI_PATH, {"convert", folder.File("in.bmp"), path}, scratch);
    EXPECT_EQ(cli.status, 1);
    EXPECT_EQ(cli.err, "Unable to open " + path + " for write.\n");
    EXPECT_EQ(ReadTestFile(path), kEarlier);
    EXPECT_EQ(folder.Entries(), (Lines{"in.bmp", kNames[0] + ".bmp"}));
    fs::permissions(PathOf(path), fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
}  // namespace quorvel::testing
