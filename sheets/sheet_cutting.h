#pragma once
// Cutting a sheet picture into frames: each frame's rectangle is reduced as a picture of its
// own, then placed on its canvas.

#include <vector>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "core/indexed_image.h"
#include "core/result.h"
#include "sheets/sheet_frame.h"
#include "sheets/sheet_picture.h"

namespace quorvel {

// The frames of all sheets together may take at most this much as images.
inline constexpr std::uint64_t kLargestCutBytes = std::uint64_t{256} << 20;

// Which frame cannot be cut and why, before anything is reduced: counted from 0, the first
// frame that is rotated, lies outside the picture or does not fit its canvas. A reason for
// "Unable to cut NAME: REASON."; success when every frame can be cut.
Status CheckFrames(const SheetPicture& picture, const std::vector<SheetFrame>& frames);

// Every frame, which CheckFrames has accepted, in order. A frame without pixels is an empty
// image of exactly its size; any other is the reduced rectangle (its width rounded up to a
// multiple of 4, as every reduction makes it) at its place on a canvas of its source size
// (likewise rounded up), the rest index 0. A failure's reason is the reduction's, for "Unable
// to read NAME: REASON.".
Result<std::vector<IndexedImage>> CutFrames(const SheetPicture& picture,
                                            const std::vector<SheetFrame>& frames,
                                            ConversionMode mode, BlackHandling black);

}  // namespace quorvel
