#include "core/save_encoded.h"

#include "core/file_access.h"
#include "core/file_messages.h"
#include "core/window_services.h"

namespace quorvel {

namespace {

template <typename Encoded>
bool SaveEncoded(const std::string& fileName, const Result<Encoded>& encoded) {
    if (!encoded) {
        ShowFileError(CannotWrite(fileName, encoded.error()));
        return false;
    }
    switch (WriteFileAtomically(fileName, encoded.value())) {
        case FileProblem::None:
            return true;
        case FileProblem::CannotOpen:
            ShowFileError(CannotOpenForWrite(fileName));
            return false;
        case FileProblem::Failed:
            break;
    }
    ShowFileError(CannotWrite(fileName));
    return false;
}

}  // namespace

bool SaveEncodedFile(const std::string& fileName,
                     const Result<std::vector<std::uint8_t>>& encoded) {
    return SaveEncoded(fileName, encoded);
}

bool SaveEncodedFile(const std::string& fileName, const Result<EncodedPieces>& encoded) {
    return SaveEncoded(fileName, encoded);
}

}  // namespace quorvel
