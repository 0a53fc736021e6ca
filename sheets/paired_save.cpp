#include "sheets/paired_save.h"

#include "core/file_access.h"
#include "core/file_messages.h"
#include "core/file_operations.h"
#include "core/save_encoded.h"
#include "core/window_services.h"

namespace quorvel {

bool SavePictureWithDescription(const std::string& pictureName,
                                const Result<std::vector<std::uint8_t>>& picture,
                                const std::string& descriptionName,
                                const std::string& description) {
    if (!picture) {
        ShowFileError(CannotWrite(pictureName, picture.error()));
        return false;
    }
    const bool existed = InspectSaveTarget(descriptionName).exists;
    const FileReadResult earlier =
        existed ? ReadWholeFile(descriptionName) : FileReadResult{FileProblem::CannotOpen, {}};
    if (existed && earlier.problem != FileProblem::None) {
        // It could not be put back, so it is not replaced.
        ShowFileError(CannotOpenForWrite(descriptionName));
        return false;
    }
    const std::vector<std::uint8_t> text(description.begin(), description.end());
    if (!SaveEncodedFile(descriptionName, text)) {
        return false;
    }
    if (SaveEncodedFile(pictureName, picture)) {
        return true;
    }
    if (existed) {
        WriteFileAtomically(descriptionName, earlier.bytes);
    } else {
        ActiveFileOperations().unlink(descriptionName.c_str());
    }
    return false;
}

}  // namespace quorvel
