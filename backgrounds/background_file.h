#pragma once
// Room backgrounds between picture files and the game's background sprite file (by
// convention "back.spr"; the layout is described in sprites/background.h). The front ends'
// background commands come here.
//
// Neither operation touches the current image, the sprite set, the sprite list or the labels,
// so nothing unsaved is at risk. Failures are shown as file errors; nothing is written then.

#include <string>

#include "core/black_handling.h"
#include "core/conversion_mode.h"

namespace quorvel {

// Reads the picture `pictureName` (a bitmap or a PNG file, told apart by content), which must
// be 8352 × 1200 pixels, reduces it whole by `mode` so that dithering runs across the tile
// edges, cuts it into the 464 tiles and saves them as the sprite file `spriteName`. Returns
// whether the file was written.
bool MakeBackgroundFile(const std::string& pictureName, const std::string& spriteName,
                        ConversionMode mode, BlackHandling black);

// Reads the background sprite file `spriteName`, which must hold 464 sprites of 144 × 150,
// and saves the whole 8352 × 1200 picture as `pictureName`: a PNG file when the name ends in
// ".png", a bitmap otherwise. Returns whether the file was written.
bool ExportBackgroundPicture(const std::string& spriteName, const std::string& pictureName);

}  // namespace quorvel
