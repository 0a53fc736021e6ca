#pragma once
// The operating-system calls behind ReadWholeFile and WriteFileAtomically, gathered in one
// table so that tests can replace any of them (to make a write fail half-way, a flush or a
// rename fail) and check that no damaged or stray file is left behind.

#include <sys/types.h>
#include <cstddef>

namespace quorvel {

struct FileOperations {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*read)(int fd, void* buffer, std::size_t size);
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*unlink)(const char* path);
};

// The real calls.
FileOperations SystemFileOperations();

// The table in use; starts as SystemFileOperations().
FileOperations& ActiveFileOperations();

// Installs `replacement` for the lifetime of the object, then puts the previous table back.
class ScopedFileOperations {
  public:
    explicit ScopedFileOperations(const FileOperations& replacement)
        : saved_(ActiveFileOperations()) {
        ActiveFileOperations() = replacement;
    }
    ~ScopedFileOperations() { ActiveFileOperations() = saved_; }
    ScopedFileOperations(const ScopedFileOperations&) = delete;
    ScopedFileOperations& operator=(const ScopedFileOperations&) = delete;

  private:
    FileOperations saved_;
};

}  // namespace quorvel
