#include "core/read_reported.h"

#include "core/file_access.h"
#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "core/window_services.h"

namespace quorvel {

namespace {

constexpr char kCutShort[] = "the file could not be read to its end";

// Shows what went wrong, if anything; true when the file was read.
bool Reported(FileProblem problem, const std::string& fileName) {
    switch (problem) {
        case FileProblem::None:
            return true;
        case FileProblem::CannotOpen:
            ShowFileError(CannotOpenForRead(fileName));
            return false;
        case FileProblem::Failed:
            break;
    }
    ShowFileError(CannotRead(fileName, kCutShort));
    return false;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadFileOrReport(const std::string& fileName) {
    FileReadResult file = ReadWholeFile(fileName);
    if (!Reported(file.problem, fileName)) {
        return std::nullopt;
    }
    return std::move(file.bytes);
}

std::optional<FileView> ViewFileOrReport(const std::string& fileName) {
    FileViewResult file = ViewWholeFile(fileName);
    if (!Reported(file.problem, fileName)) {
        return std::nullopt;
    }
    return std::move(file.view);
}

bool ReportIfCutShort(const FileView& view, const std::string& fileName) {
    if (view.Intact()) {
        return true;
    }
    ShowFileError(CannotRead(fileName, kCutShort));
    return false;
}

bool LoadImageFile(const std::string& fileName,
                   const std::function<Result<IndexedImage>(FileView&)>& decode) {
    std::optional<FileView> file = ViewFileOrReport(fileName);
    if (!file) {
        return false;
    }
    Result<IndexedImage> image = decode(*file);
    if (!ReportIfCutShort(*file, fileName)) {
        return false;
    }
    if (!image) {
        ShowFileError(CannotRead(fileName, image.error()));
        return false;
    }
    CurrentImage() = std::move(image).value();
    RequestRepaint();
    return true;
}

}  // namespace quorvel
