#include "core/file_operations.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace quorvel {

namespace {

int OpenFile(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

}  // namespace

FileOperations SystemFileOperations() {
    return FileOperations{OpenFile, ::read, ::write, ::fsync, ::close, ::rename, ::unlink};
}

FileOperations& ActiveFileOperations() {
    static FileOperations operations = SystemFileOperations();
    return operations;
}

}  // namespace quorvel
