#pragma once
// Whole-file reads, and writes that never leave a half-written or damaged target behind.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/result.h"

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

FileReadResult ReadWholeFile(const std::string& path);

// Writes `bytes` to a temporary file in the target's folder, flushes it, then renames it over
// `path`. On any failure the temporary file is removed and an existing file at `path` is left
// as it was. A folder or a read-only file at `path` is CannotOpen, and is not touched.
FileProblem WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace quorvel
