// The file operations on Linux and other POSIX systems.

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "core/file_operations.h"

namespace quorvel {

namespace {

// Descriptors are never inherited by programs this process starts.
int OpenFile(const char* path, int flags, mode_t mode) {
    return ::open(path, flags | O_CLOEXEC, mode);
}

// What the symbolic link `path` holds, "" if it cannot be read. `announced` is its length as
// lstat gave it, 0 for the links of /proc.
std::string LinkTarget(const std::string& path, std::size_t announced) {
    for (std::size_t size = std::max<std::size_t>(announced + 1, 256); size <= 65536; size *= 2) {
        std::vector<char> target(size);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < size) {
            return std::string(target.data(), static_cast<std::size_t>(length));
        }
    }
    return {};
}

// Where the chain of symbolic links starting at `path` ends (`path` itself if it is no link),
// whether or not a file is there. Gives up on a chain longer than the system would follow.
std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            break;
        }
        const std::string next = LinkTarget(path, static_cast<std::size_t>(info.st_size));
        if (next.empty()) {
            break;
        }
        path = next.front() == '/' ? next : path.substr(0, path.rfind('/') + 1) + next;
    }
    return path;
}

}  // namespace

FileOperations SystemFileOperations() {
    return FileOperations{OpenFile, ::read, ::write, ::fsync, ::close, ::rename, ::unlink};
}

SaveTarget InspectSaveTarget(const std::string& path) {
    struct stat info {};
    SaveTarget target;
    target.file = path;
    if (::stat(path.c_str(), &info) != 0) {
        target.file = FollowLinks(path);  // a link to nothing yet: the file is made there
        return target;
    }
    target.exists = true;
    target.folder = S_ISDIR(info.st_mode);
    target.inPlace = !target.folder && !S_ISREG(info.st_mode);
    if (S_ISREG(info.st_mode)) {
        // Links to pipes and devices (such as /dev/stdout) may lead through names that only the
        // system understands; those are opened by the name given.
        target.file = FollowLinks(path);
    }
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
