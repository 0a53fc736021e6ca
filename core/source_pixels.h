#pragma once
// Per-pixel colour access shared by the two reductions: the true-colour rows hold blue,
// green, red; the paletted rows hold an index into the bitmap's own palette.

#include <cstdint>

#include "core/colour_reduction.h"

namespace quorvel::detail {

struct Colour {
    std::int32_t red;
    std::int32_t green;
    std::int32_t blue;
};

struct TrueColourReader {
    const TrueColourRows& rows;
    const std::uint8_t* Row(std::uint32_t y) const {
        return rows.top + static_cast<std::ptrdiff_t>(y) * rows.stride;
    }
    Colour At(const std::uint8_t* row, std::uint32_t x) const {
        const std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
        return {p[2], p[1], p[0]};
    }
};

struct PalettedReader {
    const PalettedRows& rows;
    const std::uint8_t* Row(std::uint32_t y) const {
        return rows.top + static_cast<std::ptrdiff_t>(y) * rows.stride;
    }
    Colour At(const std::uint8_t* row, std::uint32_t x) const {
        const std::uint8_t* entry = rows.palette + 4 * static_cast<std::size_t>(row[x]);
        return {entry[2], entry[1], entry[0]};
    }
};

// An image of the converted width, every index 0 until written.
inline IndexedImage MakeConvertedImage(std::uint32_t width, std::uint32_t height) {
    IndexedImage image;
    image.width = static_cast<std::uint32_t>(ConvertedWidth(width));
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(image.width) * height);
    return image;
}

}  // namespace quorvel::detail
