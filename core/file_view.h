#pragma once
// A whole file's bytes for a decoder that only reads them: a large file mapped where it lies
// in the system's file cache (see mapped_file.h), a small one read into memory.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/file_access.h"
#include "core/mapped_file.h"

namespace quorvel {

class FileView {
  public:
    FileView() = default;
    explicit FileView(std::vector<std::uint8_t> read) : read_(std::move(read)) {}
    explicit FileView(MappedFile mapped) : mapped_(std::move(mapped)) {}

    std::span<const std::uint8_t> bytes() const {
        return mapped_ ? mapped_.bytes() : std::span<const std::uint8_t>(read_);
    }
    // Lets the bytes go once a decoder no longer needs them; bytes() is empty afterwards.
    void Release();
    // False when the file was cut short, or failed to read, while it was mapped: whatever
    // was decoded from it since is not the file's and must be thrown away.
    bool Intact() const { return intact_ && (!mapped_ || mapped_.Intact()); }

  private:
    std::vector<std::uint8_t> read_;
    MappedFile mapped_;
    bool intact_ = true;
};

struct FileViewResult {
    FileProblem problem = FileProblem::None;
    FileView view;
};

// Files from this size on are mapped where the system can; smaller ones cost less to read.
inline constexpr std::int64_t kMapFilesFrom = std::int64_t{1} << 20;

// Opens `path` as ReadWholeFile does and tells the same problems.
FileViewResult ViewWholeFile(const std::string& path);

}  // namespace quorvel
