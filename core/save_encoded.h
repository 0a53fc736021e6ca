#pragma once
// The last step every save shares: write the encoded file safely, or tell the user why not.

#include <cstdint>
#include <string>
#include <vector>

#include "core/encoded_pieces.h"
#include "core/result.h"

namespace quorvel {

// Writes `encoded` over `fileName` through WriteFileAtomically. A failed encoding shows
// "Unable to write NAME: REASON.", a file that cannot be created "Unable to open NAME for
// write.", and a write that fails part-way "Unable to write NAME.". Returns whether the file
// was written.
bool SaveEncodedFile(const std::string& fileName, const Result<std::vector<std::uint8_t>>& encoded);
bool SaveEncodedFile(const std::string& fileName, const Result<EncodedPieces>& encoded);

}  // namespace quorvel
