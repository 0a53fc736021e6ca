// The file operations on Windows. Names arrive as UTF-8 and go to the wide (UTF-16) API, so
// every name Windows allows works, not only those of the ANSI code page. The Windows handles
// are wrapped in C runtime descriptors, so the table has the same shape on every platform.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>

#include "core/file_operations.h"

namespace quorvel {

namespace {

// "" when `utf8` is not valid UTF-8 (or is empty), which no file can be named.
std::wstring Wide(const char* utf8) {
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

// `wide` as UTF-8.
std::string Utf8(const std::wstring& wide) {
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(length - 1));
    return utf8;
}

// errno for the last Windows error, so callers see what the POSIX calls would report.
int Failed() {
    switch (::GetLastError()) {
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            errno = EEXIST;
            break;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            errno = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            errno = EACCES;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        default:
            errno = EIO;
    }
    return -1;
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

// One call moves at most this much; the callers loop.
DWORD Chunk(std::size_t size) {
    return static_cast<DWORD>(std::min<std::size_t>(size, std::size_t{1} << 30));
}

int OpenFile(const char* path, int flags, mode_t) {
    const std::wstring name = Wide(path);
    if (name.empty()) {
        errno = ENOENT;
        return -1;
    }
    const bool create = (flags & O_CREAT) != 0;
    const bool write = (flags & O_WRONLY) != 0;
    // Readers and writers to a device or pipe let others read, write and rename meanwhile, as
    // on POSIX; a new temporary file is private to the save until it is renamed.
    const HANDLE handle =
        ::CreateFileW(name.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                      create ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      create ? CREATE_NEW : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return Failed();
    }
    const int fd =
        ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), write ? _O_WRONLY : _O_RDONLY);
    if (fd < 0) {
        ::CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

ssize_t ReadSome(int fd, void* buffer, std::size_t size) {
    DWORD got = 0;
    if (!::ReadFile(HandleOf(fd), buffer, Chunk(size), &got, nullptr)) {
        return Failed();
    }
    return static_cast<ssize_t>(got);
}

ssize_t WriteSome(int fd, const void* data, std::size_t size) {
    DWORD done = 0;
    if (!::WriteFile(HandleOf(fd), data, Chunk(size), &done, nullptr)) {
        return Failed();
    }
    return static_cast<ssize_t>(done);
}

int FlushFile(int fd) {
    return ::FlushFileBuffers(HandleOf(fd)) ? 0 : Failed();
}

int CloseFile(int fd) {
    return ::_close(fd);
}

// Returns only once the move has reached the disk.
int RenameFile(const char* from, const char* to) {
    const std::wstring source = Wide(from);
    const std::wstring target = Wide(to);
    if (source.empty() || target.empty()) {
        errno = ENOENT;
        return -1;
    }
    return ::MoveFileExW(source.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : Failed();
}

int RemoveFile(const char* path) {
    const std::wstring name = Wide(path);
    if (name.empty()) {
        errno = ENOENT;
        return -1;
    }
    return ::DeleteFileW(name.c_str()) ? 0 : Failed();
}

// The full name of the open file (as "\\?\C:\folder\name"), where a symbolic link has led;
// `fallback` if the system cannot tell.
std::string FinalName(HANDLE handle, const std::string& fallback) {
    std::wstring name(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length = ::GetFinalPathNameByHandleW(
            handle, name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
        if (length == 0) {
            return fallback;
        }
        if (length < name.size()) {
            name.resize(length);
            const std::string utf8 = Utf8(name);
            return utf8.empty() ? fallback : utf8;
        }
        name.resize(length);  // the length needed, its terminating null included
    }
    return fallback;
}

}  // namespace

FileOperations SystemFileOperations() {
    return FileOperations{OpenFile,  ReadSome,   WriteSome, FlushFile,
                          CloseFile, RenameFile, RemoveFile};
}

SaveTarget InspectSaveTarget(const std::string& path) {
    SaveTarget target;
    target.file = path;
    const std::wstring name = Wide(path.c_str());
    if (name.empty()) {
        return target;
    }
    // Names in the device namespace ("\\.\pipe\NAME", "\\.\COM1") are written as they are:
    // opening a pipe here only to look at it would take one of its instances.
    if (name.starts_with(L"\\\\.\\") || name.starts_with(L"//./")) {
        target.exists = target.inPlace = true;
        return target;
    }
    // The attributes of the name itself, a symbolic link not followed.
    DWORD attributes = ::GetFileAttributesW(name.c_str());
    // Opened only to look at, following symbolic links; for folders too.
    const HANDLE handle = ::CreateFileW(
        name.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (::GetFileType(handle) != FILE_TYPE_DISK) {
            target.inPlace = true;  // a device such as NUL or CON
        } else if (::GetFileInformationByHandle(handle, &info)) {
            if (attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                target.file = FinalName(handle, path);
            }
            attributes = info.dwFileAttributes;  // those of the file the links lead to
        }
        ::CloseHandle(handle);
    }
    if (attributes == INVALID_FILE_ATTRIBUTES && !target.inPlace) {
        return target;
    }
    target.exists = true;
    target.folder = !target.inPlace && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // MoveFileEx refuses to replace a read-only file; the save refuses it before it begins.
    target.readOnly = !target.inPlace && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return target;
}

std::int64_t RegularFileSize(int fd) {
    const HANDLE handle = HandleOf(fd);
    BY_HANDLE_FILE_INFORMATION info{};
    LARGE_INTEGER size{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        !::GetFileSizeEx(handle, &size)) {
        return -1;
    }
    return size.QuadPart;
}

// A new file gets the folder's inherited access rights, as the file it replaces had.
void CopyPermissions(int, const SaveTarget&) {}

// MOVEFILE_WRITE_THROUGH has already made the rename durable.
void SyncFolder(const std::string&) {}

bool IsFolderSeparator(char c) {
    return c == '/' || c == '\\' || c == ':';
}

}  // namespace quorvel
