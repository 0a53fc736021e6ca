#pragma once
// Sprite sheets between picture files and sprite sets, for both front ends: the command line's
// `sheet` and the window's "Import Sheet..." and "Export Sheet...". Failures are shown as file
// errors (ShowFileError), with the same texts everywhere; nothing is written then. None of
// these touches the current image, the sprite set, the list or the labels.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "core/indexed_image.h"
#include "sheets/sheet_layout.h"
#include "sprites/sprite_set.h"

namespace quorvel {

// The frames of the sheet picture `pictureName` (a bitmap or PNG file, told apart by
// content), each reduced by `mode` and `black` as a picture of its own would be, in order.
// Without a layout (or with kind Description) the JSON file beside the picture describes the
// frames; when there is none, "Unable to cut NAME: give --grid, --cell or --key, or put the
// sheet's JSON file beside it." Nothing after a message when the sheet cannot be cut.
std::optional<std::vector<IndexedImage>> ReadSheetFile(const std::string& pictureName,
                                                       const std::optional<SheetLayout>& layout,
                                                       ConversionMode mode, BlackHandling black);

// ReadSheetFile's frames saved, in order, as the sprite file `spriteName`. Returns whether the
// file was written.
bool CutSheetFile(const std::string& pictureName, const std::optional<SheetLayout>& layout,
                  ConversionMode mode, BlackHandling black, const std::string& spriteName);

// How the window cuts a picture chosen for import when it does not ask.
enum class SheetGuess {
    Description,  // a JSON file lies beside it
    Key,          // its top-left 5 × 5 pixels are one colour, neither black nor transparent
    AskGrid,      // neither: ask for columns and rows (also for a picture that cannot be read,
                  // whose reading then reports)
};
SheetGuess GuessSheetLayout(const std::string& pictureName);

// Writes `set` as the sheet picture `pictureName` (a PNG file when the name ends in ".png",
// otherwise an 8-bit bitmap, indexes as they stand): the grid and its JSON file
// (DescriptionNameFor) both or neither, or with `key` the key-colour layout alone, which
// leaves out the sprites without pixels (CountSpritesWithoutPixels says how many). `columns`
// applies to the grid only. Returns whether everything was written.
bool WriteSheetFiles(const SpriteSet& set, const std::string& pictureName,
                     std::optional<std::uint32_t> columns, bool key);

// The sprite file `spriteName` read and written by WriteSheetFiles; a file without sprites is
// refused: "Unable to stitch NAME: it holds no sprites." When the sheet was written, returns
// how many sprites it leaves out (those without pixels, with `key` only); nothing otherwise.
std::optional<std::uint32_t> StitchSpriteFile(const std::string& spriteName,
                                              const std::string& pictureName,
                                              std::optional<std::uint32_t> columns, bool key);

}  // namespace quorvel
