#pragma once
// The operating-system calls behind ReadWholeFile and WriteFileAtomically, gathered in one
// table so that tests can replace any of them (to make a write fail half-way, a flush or a
// rename fail) and check that no damaged or stray file is left behind.
//
// The table has one realisation per platform: file_operations_posix.cpp calls the POSIX
// functions of the same names, file_operations_windows.cpp the wide (UTF-16) Windows API.
// On both, names are UTF-8, `open` takes O_RDONLY, O_WRONLY (an existing file, device or pipe)
// or O_WRONLY | O_CREAT | O_EXCL and returns a C runtime descriptor, and a failure returns -1
// with errno set (EEXIST when a new file's name is taken).

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvel {

struct FileOperations {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*read)(int fd, void* buffer, std::size_t size);
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*fsync)(int fd);  // everything written reaches the disk (FlushFileBuffers on Windows)
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);  // replaces `to` atomically
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

// What the platform says about a file beside the table: questions whose failure the
// file access handles without a test having to provoke it.

// What a save learns about its target before it begins. A symbolic link is followed to the
// end of its chain (each relative target taken from the link's own folder): the file there is
// the one replaced, and the link stays a link; what is said below is about that file.
struct SaveTarget {
    std::string file;  // the name to replace: the path itself, or where its links end
    bool exists = false;
    bool folder = false;            // a folder, which a save never replaces
    bool inPlace = false;           // neither a folder nor a regular file (a pipe, a device):
                                    // written straight through, never replaced
    bool readOnly = false;          // marked read-only, or not writable by this user: kept as it is
    std::uint32_t permissions = 0;  // handed on to the file that replaces it (POSIX only)
};
SaveTarget InspectSaveTarget(const std::string& path);

// The length of the open file, or -1 if it is not a regular file (a folder, device or pipe).
std::int64_t RegularFileSize(int fd);

// Gives the new file the target's permissions; best effort.
void CopyPermissions(int fd, const SaveTarget& target);

// Makes a rename into `folder` ("" for the working folder) durable; best effort.
void SyncFolder(const std::string& folder);

// Whether `c` ends a folder name in a path: '/' everywhere, also '\\' and ':' on Windows.
bool IsFolderSeparator(char c);

}  // namespace quorvel
