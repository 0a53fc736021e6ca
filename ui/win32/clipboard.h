#pragma once
// The clipboard as "Copy Image" and "Paste Image" use it, with pictures as the bytes of picture
// files. A bitmap goes out as a device-independent bitmap (CF_DIB), which every paint program
// takes; coming in, a PNG picture (the registered "PNG" format) is preferred, as it keeps
// transparency, else the device-independent bitmap the system offers for any bitmap.

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace quorvel {

// Puts a bitmap file (file header, info header, colour table, pixels in that order and
// without gaps) on the clipboard, replacing what was there. False when it could not.
bool PutBitmapFileOnClipboard(HWND owner, std::span<const std::uint8_t> bitmapFile);

// The picture on the clipboard as a file: PNG bytes as they are, or a bitmap file made from the
// device-independent bitmap. Empty when the clipboard holds no picture or cannot be opened.
std::vector<std::uint8_t> PictureFileOnClipboard(HWND owner);

// A device-independent bitmap (info header, masks, colour table, pixels) with the file header
// put in front, its pixel offset counted from the info header as the system counts it. Empty
// when `dib` is too short for its own info header or too long for a bitmap file.
std::vector<std::uint8_t> BitmapFileOfDib(std::span<const std::uint8_t> dib);

}  // namespace quorvel
