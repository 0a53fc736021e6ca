#pragma once
// Builds bitmap files for tests, field by field, so that each malformed file a test needs
// is the well-formed default with one thing changed.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/indexed_image.h"

namespace quorvel::testing {

struct Bgr {
    std::uint8_t blue = 0, green = 0, red = 0;
};

struct BitmapFields {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks;          // placed after the 40-byte header
    std::vector<std::uint8_t> palette;         // raw bytes between the headers and the pixel data
    std::vector<std::uint8_t> pixels;          // the pixel data exactly as stored
    std::optional<std::uint32_t> fileSize;     // default: the real length
    std::optional<std::uint32_t> pixelOffset;  // default: where the pixel data really starts
    char type[2] = {'B', 'M'};
};

std::vector<std::uint8_t> BuildBitmap(const BitmapFields& fields);

// Classic 24-bit and 8-bit bitmaps of the given rows (top to bottom), stored bottom to top with
// zero padding; the 8-bit one with the given 1024-byte palette in file layout.
BitmapFields TrueColourBitmap(const std::vector<std::vector<Bgr>>& rows);
BitmapFields PalettedBitmap(const std::vector<std::vector<std::uint8_t>>& rows,
                            const std::vector<std::uint8_t>& palette);

// An image of palette entries 11 to 241 in diagonal stripes.
IndexedImage PatternImage(std::uint32_t width, std::uint32_t height);

// Writes `bytes` to `path`; the test fails if it cannot.
void WriteTestFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadTestFile(const std::string& path);

}  // namespace quorvel::testing
