#pragma once
// The left part of the main window: the current image at its real size in the game palette,
// in a 200 × 200 pixel frame at (8, 8) of the client area, black where the image is not.

#include <windows.h>

#include "core/indexed_image.h"

namespace quorvel {

inline constexpr int kPreviewLeft = 8;
inline constexpr int kPreviewTop = 8;
inline constexpr int kPreviewSide = 200;

// Composes the frame off screen and copies it to `target` in one operation.
void PaintPreview(HDC target, const IndexedImage& image);

// What a minimised window shows: `icon` centred in the client area of `window`.
void PaintMinimisedIcon(HWND window, HDC target, HICON icon);

}  // namespace quorvel
