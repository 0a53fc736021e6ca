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

// Moves the image label (IDC_IMAGE_LABEL) of `dialog` down when its top lies less than 3 pixels
// under the frame's bottom edge, with every control under the frame from the label down, and
// lengthens the window by as much. The controls are placed in dialog units, which a small dialog
// font (Wine's stand-in for the Windows one, for example) turns into fewer pixels than the frame
// takes; the label would then cover the frame's last rows. Called once the dialog is created.
void KeepPreviewUncovered(HWND dialog);

// What a minimised window shows: `icon` centred in the client area of `window`.
void PaintMinimisedIcon(HWND window, HDC target, HICON icon);

}  // namespace quorvel
