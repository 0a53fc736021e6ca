#include "core/file_view.h"

namespace quorvel {

void FileView::Release() {
    intact_ = Intact();
    mapped_ = MappedFile();
    std::vector<std::uint8_t>().swap(read_);
}

FileViewResult ViewWholeFile(const std::string& path) {
    FileViewResult result;
    const FileProblem opened = WithRegularFile(path, [&](int fd, std::int64_t size) {
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
    });
    if (opened != FileProblem::None) {
        result.problem = opened;
    }
    return result;
}

}  // namespace quorvel
