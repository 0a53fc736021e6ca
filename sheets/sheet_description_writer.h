#pragma once
// The JSON description written beside a stitched grid, in the paint programs' array form, so
// that they and `sheet` can cut it again.

#include <string>
#include <string_view>

#include "sheets/sheet_stitching.h"

namespace quorvel {

// One entry per sprite: "filename" "NAME N" (NAME the picture's file name without its
// extension, N from 0), its exact rectangle, untrimmed and unrotated, a duration of 100; then
// "meta" with this program's name and version, the picture's file name, format "I8", the
// sheet's size and scale "1". `pictureName` may include folders; only its file name is used.
std::string DescribeSheet(const StitchedSheet& sheet, std::string_view pictureName);

// The description's name beside `pictureName`: its extension replaced by ".json", or ".json"
// added when it has none.
std::string DescriptionNameFor(const std::string& pictureName);

}  // namespace quorvel
