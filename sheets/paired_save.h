#pragma once
// Saving a picture together with the description beside it: both are written, or neither is
// changed.

#include <cstdint>
#include <string>
#include <vector>

#include "core/result.h"

namespace quorvel {

// Writes the description first and then the picture, each through the atomic save with its
// messages. When the picture cannot be written the description is put back as it was: its
// earlier content written again, or the new file removed. Returns whether both were written.
bool SavePictureWithDescription(const std::string& pictureName,
                                const Result<std::vector<std::uint8_t>>& picture,
                                const std::string& descriptionName, const std::string& description);

}  // namespace quorvel
