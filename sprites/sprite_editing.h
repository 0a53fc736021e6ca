#pragma once
// The four buttons between the preview and the sprite list. Each reads the list's selected
// line and the current image, and brings the list and the labels up to date.

namespace quorvel {

void AddSprite();          // "Add ->": append a copy of the current image
void InsertSprite();       // "Insert ->": insert a copy before the selected sprite
void DeleteSprite();       // "Delete Sprite": remove the selected sprite
void CopySpriteToImage();  // "<-": make a copy of the selected sprite the current image

}  // namespace quorvel
