#include "core/file_view.h"

#include <fcntl.h>

#include "core/file_operations.h"

namespace quorvel {

void FileView::Release() {
    intact_ = Intact();
    mapped_ = MappedFile();
    std::vector<std::uint8_t>().swap(read_);
}

FileViewResult ViewWholeFile(const std::string& path) {
    FileOperations& os = ActiveFileOperations();
    const int fd = os.open(path.c_str(), O_RDONLY, 0);
    if (fd < 0) {
        return {FileProblem::CannotOpen, {}};
    }
    const std::int64_t size = RegularFileSize(fd);
    FileViewResult result;
    if (size < 0) {
        result.problem = FileProblem::CannotOpen;  // a folder, device or pipe
    } else {
        MappedFile mapped;
        if (size >= kMapFilesFrom) {
            mapped = MappedFile::Map(fd, static_cast<std::size_t>(size));
        }
        if (mapped) {
            result.view = FileView(std::move(mapped));
        } else {
            FileReadResult read = ReadOpenFile(fd, size);
            result = {read.problem, FileView(std::move(read.bytes))};
        }
    }
    os.close(fd);
    return result;
}

}  // namespace quorvel
