#pragma once
// PNG pictures in and out. One small interface, realised once per platform: by libspng
// (png_spng.cpp) and by the Windows Imaging Component (png_wic.cpp). Decoding gives the
// picture's samples exactly as stored, with no gamma or colour-profile correction, so the
// conversion sees the same colours whichever decoder made them.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/indexed_image.h"
#include "core/result.h"

namespace quorvel::png {

// Larger pictures are refused before any pixel is decoded: 8192 × 8192 at 4 bytes a pixel.
inline constexpr std::uint64_t kLargestDecodedBytes = std::uint64_t{256} << 20;

// The eight bytes every PNG file starts with.
inline constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P',  'N',  'G',
                                                           0x0D, 0x0A, 0x1A, 0x0A};

bool HasPngSignature(std::span<const std::uint8_t> file);

// The decoded size the limit applies to: 4 bytes per pixel, whatever the colour type, since a
// paletted picture with transparency is converted through RGBA rows.
constexpr std::uint64_t DecodedBytes(std::uint32_t width, std::uint32_t height) {
    return std::uint64_t{width} * height * 4;
}

enum class PixelLayout {
    Rgba,      // 4 bytes a pixel: red, green, blue, alpha
    Paletted,  // 1 byte a pixel: an index into `palette`
};

struct DecodedPicture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    PixelLayout layout = PixelLayout::Rgba;
    // Rows top to bottom without padding. Samples of 16 bits are given as their high byte;
    // grey g as (g, g, g); low bit depths scaled to 0..255 (grey) or unpacked (indexes).
    std::vector<std::uint8_t> pixels;
    // Paletted only: red, green, blue, alpha of each entry, the alpha from the tRNS chunk
    // (255 where it has none). Entries from paletteEntries on are unused.
    std::array<std::uint8_t, 4 * 256> palette{};
    std::uint32_t paletteEntries = 0;
};

// Decodes a whole PNG file held in memory, refusing damaged files and pictures larger than
// kLargestDecodedBytes with a reason. Indexes past the palette's end are not checked here.
Result<DecodedPicture> DecodePng(std::span<const std::uint8_t> file);

// The rows of a PNG picture decoded one after another, top to bottom, as 8-bit red, green,
// blue, alpha with the tRNS chunk applied: the same samples DecodePng gives as Rgba.
class RowDecoder {
  public:
    virtual ~RowDecoder() = default;
    std::uint32_t Width() const { return width_; }
    std::uint32_t Height() const { return height_; }
    // Decodes the next row into `row`, which holds 4 × Width() bytes.
    virtual Status NextRow(std::uint8_t* row) = 0;
    // After the last row: reads the rest of the file, so that damage there is noticed.
    virtual Status Finish() = 0;

  protected:
    RowDecoder() = default;
    RowDecoder(std::uint32_t width, std::uint32_t height) : width_(width), height_(height) {}
    // For a decoder that learns the size only once it has opened the file.
    void SetSize(std::uint32_t width, std::uint32_t height) {
        width_ = width;
        height_ = height;
    }

  private:
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
};

// A row decoder for `file`, which must outlive it, when its picture is decoded through RGBA
// rows and can be decoded row by row. Nothing for every other picture, and for files whose
// header is damaged or states a picture over kLargestDecodedBytes: DecodePng takes those
// whole and gives the reason.
std::unique_ptr<RowDecoder> OpenRowDecoder(std::span<const std::uint8_t> file);

// An 8-bit paletted PNG of `image` with the 256 game colours and a tRNS chunk that makes
// index 0 transparent. Fails for an image without pixels, which PNG cannot hold.
Result<std::vector<std::uint8_t>> EncodeIndexedPng(const IndexedImage& image);

}  // namespace quorvel::png
