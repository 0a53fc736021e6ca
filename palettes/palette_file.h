#pragma once
// The game palette written as a palette file a paint program loads, so that a picture painted
// with it comes back index for index. The format follows the file name's extension, in any
// case: ".gpl" (text, LF), ".act" (768 bytes of red, green, blue) or ".pal" (JASC text, CR LF).
// Every format holds all 256 entries in index order, the ten whites after black included.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace quorvel {

enum class PaletteFormat { Gpl, Act, Pal };

// The format `fileName`'s extension names, if any.
std::optional<PaletteFormat> PaletteFormatOf(std::string_view fileName);

std::vector<std::uint8_t> EncodePalette(PaletteFormat format);

// The palette file for `fileName`, or why there is none.
Result<std::vector<std::uint8_t>> EncodePaletteFile(std::string_view fileName);

// Writes the palette file atomically; on failure shows "Unable to write NAME: REASON." or the
// other save messages and leaves any earlier file as it was. Whether it was written.
bool SavePaletteFile(const std::string& fileName);

}  // namespace quorvel
