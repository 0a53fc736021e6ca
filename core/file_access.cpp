#include "core/file_access.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <random>

#include "core/file_operations.h"
#include "core/large_buffer.h"

namespace quorvel {

namespace {

// Reads until `size` bytes have arrived or the file ends. Returns the count read, or -1.
std::int64_t ReadFully(int fd, std::uint8_t* data, std::size_t size) {
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t n = ActiveFileOperations().read(fd, data + filled, size - filled);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (n == 0) {
            break;
        }
        filled += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(filled);
}

bool WriteFully(int fd, const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ActiveFileOperations().write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes the head and then the pieces in order. Small pieces (rows of an image, sprites) are
// gathered so that each does not cost a system call; large ones go straight from where they lie.
bool WritePieces(int fd, const EncodedPieces& file) {
    constexpr std::size_t kStraight = 64 << 10;
    constexpr std::size_t kGathered = 1 << 20;
    std::size_t total = file.head.size();
    for (const std::span<const std::uint8_t> piece : file.pieces) {
        total += piece.size();
    }
    std::vector<std::uint8_t> gathered;
    try {
        gathered.reserve(std::min(total, kGathered));
    } catch (const std::bad_alloc&) {
        return false;
    }
    auto flush = [&] {
        const bool ok = WriteFully(fd, gathered.data(), gathered.size());
        gathered.clear();
        return ok;
    };
    auto put = [&](std::span<const std::uint8_t> piece) {
        if (piece.size() >= kStraight) {
            return flush() && WriteFully(fd, piece.data(), piece.size());
        }
        if (gathered.size() + piece.size() > kGathered && !flush()) {
            return false;
        }
        gathered.insert(gathered.end(), piece.begin(), piece.end());
        return true;
    };
    bool ok = put(file.head);
    for (auto piece = file.pieces.begin(); ok && piece != file.pieces.end(); ++piece) {
        ok = put(*piece);
    }
    return ok && flush();
}

// Where the last folder name of `path` ends: "dir/name" -> 4, "name" -> 0.
std::size_t NameStart(const std::string& path) {
    const auto separator = std::find_if(path.rbegin(), path.rend(), IsFolderSeparator);
    return static_cast<std::size_t>(path.rend() - separator);
}

// "dir/name" -> "dir/", "name" -> "".
std::string FolderOf(const std::string& path) {
    return path.substr(0, NameStart(path));
}

std::string NameOf(const std::string& path) {
    return path.substr(NameStart(path));
}

std::string RandomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kDigits - 2);
    std::string suffix(8, '0');
    for (char& c : suffix) {
        c = kDigits[pick(generator)];
    }
    return suffix;
}

// Creates a new, empty file next to `path` under a name nobody else uses. Returns its
// descriptor (or -1) and its name.
int CreateTemporaryBeside(const std::string& path, std::string& name) {
    const std::string stem = FolderOf(path) + "." + NameOf(path) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = stem + RandomSuffix() + ".tmp";
        const int fd = ActiveFileOperations().open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// A pipe or a device takes the bytes as they come: no temporary file, no rename, and no flush,
// which neither supports.
FileProblem WriteInPlace(const std::string& path, const EncodedPieces& bytes) {
    FileOperations& os = ActiveFileOperations();
    const int fd = os.open(path.c_str(), O_WRONLY, 0);
    if (fd < 0) {
        return FileProblem::CannotOpen;
    }
    const bool written = WritePieces(fd, bytes);
    return os.close(fd) == 0 && written ? FileProblem::None : FileProblem::Failed;
}

}  // namespace

std::optional<FileKind> KindOfFileName(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    std::string extension(fileName.substr(dot + 1));
    // ASCII only: a letter of another script never makes a known extension.
    for (char& c : extension) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (extension == "bmp" || extension == "png") {
        return FileKind::Picture;
    }
    return extension == "spr" ? std::optional(FileKind::Sprite) : std::nullopt;
}

FileProblem WithRegularFile(const std::string& path,
                            const std::function<void(int fd, std::int64_t size)>& use) {
    FileOperations& os = ActiveFileOperations();
    const int fd = os.open(path.c_str(), O_RDONLY, 0);
    if (fd < 0) {
        return FileProblem::CannotOpen;
    }
    const std::int64_t size = RegularFileSize(fd);
    // Directories, devices and pipes are not files a bitmap or sprite set can be read from.
    if (size >= 0) {
        use(fd, size);
    }
    os.close(fd);
    return size >= 0 ? FileProblem::None : FileProblem::CannotOpen;
}

FileReadResult ReadWholeFile(const std::string& path) {
    FileReadResult result;
    const FileProblem opened =
        WithRegularFile(path, [&](int fd, std::int64_t size) { result = ReadOpenFile(fd, size); });
    return opened == FileProblem::None ? result : FileReadResult{opened, {}};
}

FileReadResult ReadOpenFile(int fd, std::int64_t size) {
    FileReadResult result;
    try {
        // Read into a buffer of the announced length, so a large file is held once, then
        // follow the file if it has grown since. The buffer only grows (and is copied) then.
        ResizeLargeBuffer(result.bytes, static_cast<std::size_t>(size));
        std::int64_t got = ReadFully(fd, result.bytes.data(), result.bytes.size());
        if (got >= 0 && static_cast<std::size_t>(got) < result.bytes.size()) {
            result.bytes.resize(static_cast<std::size_t>(got));  // the file shrank meanwhile
        }
        std::vector<std::uint8_t> more(1 << 16);
        while (got >= 0) {
            got = ReadFully(fd, more.data(), more.size());
            if (got <= 0) {
                break;
            }
            result.bytes.insert(result.bytes.end(), more.begin(), more.begin() + got);
        }
        if (got < 0) {
            result = {FileProblem::Failed, {}};
        }
    } catch (const std::bad_alloc&) {
        result = {FileProblem::Failed, {}};
    }
    return result;
}

FileProblem WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    return WriteFileAtomically(path, EncodedPieces{{}, {bytes}});
}

FileProblem WriteFileAtomically(const std::string& path, const EncodedPieces& bytes) {
    FileOperations& os = ActiveFileOperations();
    const SaveTarget target = InspectSaveTarget(path);
    // A read-only file is kept on every platform, though a POSIX rename could replace it.
    if (NameOf(path).empty() || target.folder || target.readOnly) {
        return FileProblem::CannotOpen;
    }
    if (target.inPlace) {
        return WriteInPlace(path, bytes);
    }
    // Through a symbolic link, the file it leads to is replaced and the link stays.
    const std::string& file = target.file;
    std::string temporary;
    const int fd = CreateTemporaryBeside(file, temporary);
    if (fd < 0) {
        return FileProblem::CannotOpen;
    }
    // The new file takes the place of the old one, permissions included.
    CopyPermissions(fd, target);

    bool ok = WritePieces(fd, bytes) && os.fsync(fd) == 0;
    // A failed close can mean the data never reached the disk, so it counts as a failure.
    ok = os.close(fd) == 0 && ok;
    ok = ok && os.rename(temporary.c_str(), file.c_str()) == 0;
    if (!ok) {
        os.unlink(temporary.c_str());
        return FileProblem::Failed;
    }

    // Make the rename itself durable. Best effort: the file is complete either way.
    SyncFolder(FolderOf(file));
    return FileProblem::None;
}

}  // namespace quorvel
