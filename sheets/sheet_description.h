#pragma once
// The JSON file a paint program writes beside a sprite sheet, giving each frame's rectangle.
// Both of its forms are read: "frames" as an array of frame objects, or as an object of named
// frame objects in the file's own order. Of each frame, "frame" {x, y, w, h} is the rectangle
// cut, "spriteSourceSize" {x, y} where the cut lies on the untrimmed canvas (0, 0 if absent),
// "sourceSize" {w, h} that canvas (the rectangle's own size if absent), "rotated" whether the
// rectangle was turned (false if absent). Everything else is passed over.
//
// Reading is bounded: only the fields above are kept in memory, nesting is limited, and more
// than kMostSheetFrames frames are refused as soon as the parser meets one too many.

#include <cstdint>
#include <span>
#include <vector>

#include "core/result.h"
#include "sheets/sheet_frame.h"

namespace quorvel {

// Larger description files are refused before they are read.
inline constexpr std::uint64_t kLargestSheetDescription = std::uint64_t{16} << 20;

// The frames in the file's order. A failure's reason is the whole phrase for "Unable to read
// NAME.json: REASON.": "it is not a sheet description (DETAIL)" for anything malformed, or
// "it describes more than 65,535 frames".
Result<std::vector<SheetFrame>> ParseSheetDescription(std::span<const std::uint8_t> text);

}  // namespace quorvel
