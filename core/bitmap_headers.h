#pragma once
// The headers of a Windows bitmap file, checked against the bytes actually present.
//
// All fields are little-endian.
//   File header, 14 bytes: "BM", file size (u32), two reserved u16, offset of the pixel
//     data (u32).
//   Info header, starting with its own size (u32):
//     12 bytes (OS/2): width u16, height u16, planes u16, bit count u16.
//     40 bytes: width i32, height i32 (negative: rows stored top to bottom), planes u16,
//       bit count u16, compression u32, image size u32, two resolutions i32, colours used
//       u32 (0: all 2^bits), colours important u32.
//     52 and 56 bytes add the red, green, blue (and alpha) masks; 108 and 124 bytes add
//       colour-space data, which the reader ignores.
//   Colour masks: with bit-field compression and a 40-byte info header, red, green and blue
//     masks (u32 each, plus alpha for the alpha variant) follow the info header.
//   Palette: for 8-bit bitmaps, entries of blue, green, red, reserved (OS/2: no reserved
//     byte), between the headers and the pixel data.
//   Pixel data, at the offset: rows bottom to top unless the height is negative, each
//     padded to a multiple of 4 bytes; or RLE8 codes.

#include <array>
#include <cstdint>
#include <span>

#include "core/game_palette.h"
#include "core/result.h"

namespace quorvel {

enum class PixelEncoding {
    Paletted8,  // one palette index per pixel
    Rle8,       // run-length coded palette indexes
    Rgb24,      // blue, green, red
    Masked16,   // 16-bit pixels, channels picked out by masks (5-5-5 unless bit fields say)
    Masked32,   // 32-bit pixels, channels picked out by masks (8-8-8 unless bit fields say)
};

struct ColourMasks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
};

struct BitmapLayout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;  // number of rows, whichever way they are stored
    bool topDown = false;
    PixelEncoding encoding = PixelEncoding::Paletted8;
    ColourMasks masks;  // the masked encodings only
    // The palette in 4-byte entries (reserved byte 0 for OS/2 files); entries past
    // paletteEntries are 0. Only 8-bit bitmaps have one.
    std::array<std::uint8_t, kBitmapPaletteBytes> palette{};
    std::uint32_t paletteEntries = 0;
    // Bytes per stored row for the uncompressed encodings.
    std::uint64_t rowStride = 0;
    // Uncompressed: exactly rowStride × height bytes. RLE8: the codes to the end of the file.
    std::span<const std::uint8_t> pixelData;
};

// Checks the headers of the whole file `file` and locates its palette and pixel data.
// Fails with a short reason for anything this reader cannot or must not read.
Result<BitmapLayout> ReadBitmapLayout(std::span<const std::uint8_t> file);

// RLE8 codes can describe far more pixels than they occupy (a 2-byte run gives up to 255,
// an end-of-bitmap code leaves the rest blank), so their size does not bound the memory a
// decode needs. This does: the memory for the expanded rows, the converted image and the
// dither's error rows (24 bytes per column) may be at most this many times the codes' size.
// Images that would need more are refused rather than allocated.
inline constexpr std::uint64_t kMaxRle8Expansion = 512;

// However long the codes, the expanded rows (each rounded up to 4 bytes) may take at most
// 256 MiB, for example 16384 × 16384 pixels.
inline constexpr std::uint64_t kMaxRle8ExpandedBytes = std::uint64_t{256} << 20;

}  // namespace quorvel
