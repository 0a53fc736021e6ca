#pragma once
// Frames drawn on a key colour, as the community's sprite dumpers lay them out: the key is the
// colour of the top-left pixel; rows wholly of the key separate bands, and within a band
// columns wholly of the key separate frames; each frame is trimmed to the pixels that are not
// the key. A transparent pixel is never the key.

#include <vector>

#include "core/result.h"
#include "sheets/sheet_frame.h"
#include "sheets/sheet_picture.h"

namespace quorvel {

// The frames band by band from the top, left to right within a band. A failure's reason
// completes "Unable to cut NAME: REASON.".
Result<std::vector<SheetFrame>> KeyFrames(const SheetPicture& picture);

// Whether `colour` may serve as a key: opaque and not exactly black.
bool UsableKeyColour(const SheetColour& colour);

}  // namespace quorvel
