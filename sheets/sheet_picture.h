#pragma once
// A sheet picture decoded into its own pixels, before any reduction: PNG rows (RGBA or
// paletted) as the PNG decoder gives them, bitmap rows as the bitmap stores them. Frames are
// cut from these and each is then reduced as a picture of its own would be, so a frame comes
// out exactly as the same rectangle saved as a separate file and loaded would.

#include <array>
#include <cstdint>
#include <vector>

#include "core/bitmap_headers.h"
#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "core/indexed_image.h"
#include "core/result.h"
#include "png/png_codec.h"

namespace quorvel {

// A pixel's colour as the paint program shows it. Bitmap pixels are always opaque.
struct SheetColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool opaque = true;

    bool SameColour(const SheetColour& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

class SheetPicture {
  public:
    SheetPicture() = default;
    // Bitmap rows may point into the owned bytes, which a move keeps where they are.
    SheetPicture(SheetPicture&&) = default;
    SheetPicture& operator=(SheetPicture&&) = default;
    SheetPicture(const SheetPicture&) = delete;
    SheetPicture& operator=(const SheetPicture&) = delete;

    // Decodes a whole bitmap or PNG file (told apart by content), keeping the file's bytes
    // where bitmap rows can be read in place.
    static Result<SheetPicture> Decode(std::vector<std::uint8_t> file);

    std::uint32_t Width() const { return width_; }
    std::uint32_t Height() const { return height_; }

    // The colour at (x, y), which must lie in the picture.
    SheetColour At(std::uint32_t x, std::uint32_t y) const;

    // Whether every pixel of the rectangle, which must lie in the picture, is transparent
    // (PNG alpha below 128); never for a bitmap.
    bool Transparent(std::uint32_t x, std::uint32_t y, std::uint32_t width,
                     std::uint32_t height) const;

    // The rectangle, which must lie in the picture and have pixels, reduced to the game
    // palette as a picture file of that size with this one's format and palette would be.
    Result<IndexedImage> Reduce(std::uint32_t x, std::uint32_t y, std::uint32_t width,
                                std::uint32_t height, ConversionMode mode,
                                BlackHandling black) const;

  private:
    enum class Kind { Png, TrueColour, Paletted };

    static Result<SheetPicture> FromBitmap(std::vector<std::uint8_t> file);
    // The rows are now bytes_ from its start, `stride` apart.
    void Own(std::ptrdiff_t stride) {
        top_ = bytes_.data();
        stride_ = stride;
    }

    Result<IndexedImage> ReducePng(std::uint32_t x, std::uint32_t y, std::uint32_t width,
                                   std::uint32_t height, ConversionMode mode,
                                   BlackHandling black) const;
    Result<IndexedImage> ReducePaletted(std::uint32_t x, std::uint32_t y, std::uint32_t width,
                                        std::uint32_t height, ConversionMode mode,
                                        BlackHandling black) const;
    const std::uint8_t* Row(std::uint32_t y) const { return top_ + std::ptrdiff_t{y} * stride_; }

    Kind kind_ = Kind::Png;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    png::DecodedPicture png_;            // Png
    std::vector<std::uint8_t> bytes_;    // the bitmap file, or its expanded rows
    const std::uint8_t* top_ = nullptr;  // bitmaps: the top row within bytes_
    std::ptrdiff_t stride_ = 0;          // bitmaps: from one row to the next
    std::array<std::uint8_t, kBitmapPaletteBytes> palette_{};  // Paletted: as the file has it
    std::uint32_t paletteEntries_ = 0;                         // Paletted
};

}  // namespace quorvel
