#pragma once
// The operations that edit the sprite set from the window: the four buttons between the
// preview and the sprite list, and the Edit menu's moves and replacement. Each reads the list's
// selected line and the current image, and brings the list and the labels up to date. Each
// returns whether it changed anything.

#include <vector>

#include "core/indexed_image.h"

namespace quorvel {

bool AddSprite();          // "Add ->": append a copy of the current image
bool InsertSprite();       // "Insert ->": insert a copy before the selected sprite
bool DeleteSprite();       // "Delete Sprite": remove the selected sprite
bool CopySpriteToImage();  // "<-": make a copy of the selected sprite the current image

enum class MoveDirection { Up, Down };
// Swaps the selected sprite with its neighbour; the selection follows it.
bool MoveSprite(MoveDirection direction);
// The selected sprite becomes a copy of the current image.
bool ReplaceSprite();
// Puts `images` before the selected sprite, in their order, selecting the first of them; with
// nothing selected, after the last sprite, leaving the selection alone. Images without pixels
// become sprites of their width and height.
bool InsertImages(std::vector<IndexedImage> images);

}  // namespace quorvel
