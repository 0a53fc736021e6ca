#pragma once
// What the sheet tests share: sheets in the game palette written as PNG or bitmap files, the
// frames expected from them, and text files.

#include <cstdint>
#include <string>
#include <vector>

#include "core/bitmap_writer.h"
#include "core/colour_reduction.h"
#include "core/indexed_image.h"
#include "png/png_codec.h"
#include "tests/support/bitmap_builder.h"

namespace quorvel::testing {

struct Rect {
    std::uint32_t x, y, width, height;
};

// A sheet of `width` × `height` filled with `fill`, each rectangle painted with a pattern of
// working colours (11 to 241, never `fill`).
inline IndexedImage PaintSheet(std::uint32_t width, std::uint32_t height, std::uint8_t fill,
                               const std::vector<Rect>& rects) {
    IndexedImage sheet{width, height, std::vector<std::uint8_t>(std::size_t{width} * height, fill)};
    for (const Rect& r : rects) {
        for (std::uint32_t y = r.y; y < r.y + r.height; ++y) {
            for (std::uint32_t x = r.x; x < r.x + r.width; ++x) {
                const auto colour = static_cast<std::uint8_t>(11 + (x * 7 + y * 13) % 231);
                sheet.pixels[std::size_t{y} * width + x] = colour == fill ? 12 : colour;
            }
        }
    }
    return sheet;
}

// The rectangle of a game-palette sheet as it comes in as a picture of its own: taken over,
// 1-10 as 242, the width rounded up to a multiple of 4 with index 0.
inline IndexedImage TakenOver(const IndexedImage& sheet, const Rect& r) {
    IndexedImage image{static_cast<std::uint32_t>(ConvertedWidth(r.width)), r.height, {}};
    image.pixels.assign(std::size_t{image.width} * r.height, 0);
    for (std::uint32_t y = 0; y < r.height; ++y) {
        for (std::uint32_t x = 0; x < r.width; ++x) {
            const std::uint8_t v = sheet.pixels[std::size_t{r.y + y} * sheet.width + r.x + x];
            image.pixels[std::size_t{y} * image.width + x] = v >= 1 && v <= 10 ? 242 : v;
        }
    }
    return image;
}

// The sheet as a PNG file (index 0 transparent) or an 8-bit bitmap, both in the game palette.
inline void WriteSheet(const IndexedImage& sheet, const std::string& path) {
    const auto bytes = path.ends_with(".png") ? png::EncodeIndexedPng(sheet) : EncodeBitmap(sheet);
    WriteTestFile(path, bytes.value());
}

inline void WriteText(const std::string& path, const std::string& text) {
    WriteTestFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

inline bool SameImage(const IndexedImage& a, const IndexedImage& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

}  // namespace quorvel::testing
