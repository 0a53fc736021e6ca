#include "core/read_reported.h"

#include "core/file_access.h"
#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "core/window_services.h"

namespace quorvel {

std::optional<std::vector<std::uint8_t>> ReadFileOrReport(const std::string& fileName) {
    FileReadResult file = ReadWholeFile(fileName);
    switch (file.problem) {
        case FileProblem::None:
            return std::move(file.bytes);
        case FileProblem::CannotOpen:
            ShowFileError(CannotOpenForRead(fileName));
            return std::nullopt;
        case FileProblem::Failed:
            break;
    }
    ShowFileError(CannotRead(fileName, "the file could not be read to its end"));
    return std::nullopt;
}

bool LoadImageFile(const std::string& fileName,
                   const std::function<Result<IndexedImage>(std::vector<std::uint8_t>&)>& decode) {
    std::optional<std::vector<std::uint8_t>> bytes = ReadFileOrReport(fileName);
    if (!bytes) {
        return false;
    }
    Result<IndexedImage> image = decode(*bytes);
    if (!image) {
        ShowFileError(CannotRead(fileName, image.error()));
        return false;
    }
    CurrentImage() = std::move(image).value();
    RequestRepaint();
    return true;
}

}  // namespace quorvel
