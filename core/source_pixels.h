#pragma once
// Per-pixel colour access shared by the two reductions: the true-colour rows hold blue,
// green, red; the RGBA rows red, green, blue, alpha; the paletted rows hold an index into the
// bitmap's own palette.

#include <array>
#include <cstdint>

#include "core/colour_reduction.h"
#include "core/large_buffer.h"

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

struct RgbaReader {
    const RgbaRows& rows;
    const std::uint8_t* Row(std::uint32_t y) const {
        const std::uint32_t slot = rows.arriving ? y % rows.arriving->slots : y;
        return rows.top + static_cast<std::ptrdiff_t>(slot) * rows.stride;
    }
    Colour At(const std::uint8_t* row, std::uint32_t x) const {
        const std::uint8_t* p = row + 4 * static_cast<std::size_t>(x);
        return {p[0], p[1], p[2]};
    }
    bool Opaque(const std::uint8_t* row, std::uint32_t x) const {
        return row[4 * static_cast<std::size_t>(x) + 3] >= kOpaqueAlpha;
    }
};

// The bitmap's palette is unpacked once, so a pixel costs one table load.
class PalettedReader {
  public:
    explicit PalettedReader(const PalettedRows& rows) : rows_(rows) {
        for (std::size_t i = 0; i < colours_.size(); ++i) {
            const std::uint8_t* entry = rows.palette + 4 * i;
            colours_[i] = {entry[2], entry[1], entry[0]};
        }
    }
    const std::uint8_t* Row(std::uint32_t y) const {
        return rows_.top + static_cast<std::ptrdiff_t>(y) * rows_.stride;
    }
    Colour At(const std::uint8_t* row, std::uint32_t x) const { return colours_[row[x]]; }
    const Colour& Entry(std::size_t i) const { return colours_[i]; }

  private:
    const PalettedRows& rows_;
    std::array<Colour, 256> colours_;
};

// An image of the converted width, every index 0 until written.
inline IndexedImage MakeConvertedImage(std::uint32_t width, std::uint32_t height) {
    IndexedImage image;
    image.width = static_cast<std::uint32_t>(ConvertedWidth(width));
    image.height = height;
    ResizeLargeBuffer(image.pixels, static_cast<std::size_t>(image.width) * height);
    return image;
}

}  // namespace quorvel::detail
