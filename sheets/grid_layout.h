#pragma once
// Frames in a uniform grid: `--grid COLUMNSxROWS` or `--cell WIDTHxHEIGHT`, with a border on
// the left and at the top and spacing between cells, as paint programs import sheets.

#include <vector>

#include "core/result.h"
#include "sheets/sheet_frame.h"
#include "sheets/sheet_layout.h"
#include "sheets/sheet_picture.h"

namespace quorvel {

// The cells of `layout` (kind Grid or Cell), row by row, each while its right and bottom
// edges are within the picture; wholly transparent cells at the end are left out. A failure's
// reason completes "Unable to cut NAME: REASON.".
Result<std::vector<SheetFrame>> GridFrames(const SheetPicture& picture, const SheetLayout& layout);

}  // namespace quorvel
