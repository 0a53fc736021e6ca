// The file operations on Linux and other POSIX systems.

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/file_operations.h"

namespace quorvel {

namespace {

// Descriptors are never inherited by programs this process starts.
int OpenFile(const char* path, int flags, mode_t mode) {
    return ::open(path, flags | O_CLOEXEC, mode);
}

}  // namespace

FileOperations SystemFileOperations() {
    return FileOperations{OpenFile, ::read, ::write, ::fsync, ::close, ::rename, ::unlink};
}

SaveTarget InspectSaveTarget(const std::string& path) {
    struct stat info {};
    SaveTarget target;
    if (::stat(path.c_str(), &info) != 0) {
        return target;
    }
    target.exists = true;
    target.folder = S_ISDIR(info.st_mode);
    target.permissions = info.st_mode & 07777;
    // No write permission for anyone counts even for a user the system lets through (root).
    target.readOnly =
        (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
    return target;
}

std::int64_t RegularFileSize(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return -1;
    }
    return info.st_size;
}

void CopyPermissions(int fd, const SaveTarget& target) {
    if (target.exists) {
        ::fchmod(fd, static_cast<mode_t>(target.permissions));
    }
}

void SyncFolder(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool IsFolderSeparator(char c) {
    return c == '/';
}

}  // namespace quorvel
