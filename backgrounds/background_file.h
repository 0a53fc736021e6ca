#pragma once
// Room backgrounds between picture files and the game's background sprite file (by
// convention "back.spr"; the layout is described in sprites/background.h). The front ends'
// background commands come here.
//
// None of these touches the current image, the sprite set, the sprite list or the labels,
// so nothing unsaved is at risk. Failures are shown as file errors; nothing is written then.

#include <optional>
#include <string>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "core/indexed_image.h"
#include "sprites/sprite_set.h"

namespace quorvel {

// Reads the picture `pictureName` (a bitmap or a PNG file, told apart by content), which must
// be 8352 × 1200 pixels as stored, reduces it whole by `mode` so that dithering runs across
// the tile edges, and cuts it into the 464 tiles. Nothing after a message when it cannot.
std::optional<SpriteSet> ReadBackgroundPicture(const std::string& pictureName, ConversionMode mode,
                                               BlackHandling black);

// Reads the background sprite file `spriteName`, which must hold 464 sprites of 144 × 150,
// and stitches the whole 8352 × 1200 picture. Nothing after a message when it cannot.
std::optional<IndexedImage> ReadBackgroundFile(const std::string& spriteName);

// The two in one step, saving the tiles as the sprite file `spriteName`. Returns whether the
// file was written.
bool MakeBackgroundFile(const std::string& pictureName, const std::string& spriteName,
                        ConversionMode mode, BlackHandling black);

// The picture of the background file saved as `pictureName`: a PNG file when the name ends
// in ".png", a bitmap otherwise. Returns whether the file was written.
bool ExportBackgroundPicture(const std::string& spriteName, const std::string& pictureName);

}  // namespace quorvel
