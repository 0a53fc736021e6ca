#pragma once
// Whole-file reads, and writes that never leave a half-written or damaged target behind.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/encoded_pieces.h"

namespace quorvel {

enum class FileProblem {
    None,
    CannotOpen,  // the file could not be opened (or created) at all
    Failed,      // opened, but reading or writing it failed part-way
};

struct FileReadResult {
    FileProblem problem = FileProblem::None;
    std::vector<std::uint8_t> bytes;
};

// The kinds of file the front ends open and save: pictures (bitmaps and PNG files), sprite
// files, and palette files (only ever saved).
enum class FileKind { Picture, Sprite, Palette };
enum class FileAction { Open, Save };

// The kind the extension of the bare name `fileName` names, in any case: ".bmp" and ".png" a
// picture, ".spr" a sprite file; nothing for any other name.
std::optional<FileKind> KindOfFileName(std::string_view fileName);

FileReadResult ReadWholeFile(const std::string& path);

// Opens `path` for reading and, when it is a regular file, calls `use` with its descriptor and
// its length, then closes it. CannotOpen when it cannot be opened or is a folder, a device or
// a pipe; None otherwise, whatever `use` found.
FileProblem WithRegularFile(const std::string& path,
                            const std::function<void(int fd, std::int64_t size)>& use);

// The rest of the open regular file `fd`, announced as `size` bytes long, read to its end.
FileReadResult ReadOpenFile(int fd, std::int64_t size);

// Writes `bytes` to a temporary file in the target's folder, flushes it, then renames it over
// `path`. On any failure the temporary file is removed and an existing file at `path` is left
// as it was. A folder or a read-only file at `path` is CannotOpen, and is not touched. A
// symbolic link is followed: the file it leads to is replaced that way, the link stays. A pipe
// or a device (anything that exists and is neither a folder nor a regular file) is written
// straight through.
FileProblem WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
FileProblem WriteFileAtomically(const std::string& path, const EncodedPieces& bytes);

}  // namespace quorvel
