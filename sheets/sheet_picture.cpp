#include "sheets/sheet_picture.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "core/bitmap_reader.h"
#include "core/colour_reduction.h"
#include "core/little_endian.h"
#include "core/masked_pixels.h"
#include "core/rle8.h"
#include "pictures/picture_file.h"

namespace quorvel {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;

// An uncompressed 8-bit bitmap of the rows given, stored top down with zero padding, with
// `entries` palette entries copied from `palette` (as a bitmap stores them).
Result<std::vector<std::uint8_t>> PalettedBitmapFile(const std::uint8_t* top, std::ptrdiff_t stride,
                                                     std::uint32_t width, std::uint32_t height,
                                                     const std::uint8_t* palette,
                                                     std::uint32_t entries) {
    const std::uint64_t rowBytes = ConvertedWidth(width);
    const std::uint64_t pixelsAt = kFileHeaderBytes + kInfoHeaderBytes + 4 * std::uint64_t{entries};
    const std::uint64_t size = pixelsAt + rowBytes * height;
    if (size > 0xFFFFFFFFu || height > 0x7FFFFFFFu) {
        return Failure{"a frame is too large"};
    }
    std::vector<std::uint8_t> file(static_cast<std::size_t>(size));
    std::uint8_t* at = file.data();
    at[0] = 'B';
    at[1] = 'M';
    WriteU32(at + 2, static_cast<std::uint32_t>(size));
    WriteU32(at + 10, static_cast<std::uint32_t>(pixelsAt));
    at += kFileHeaderBytes;
    WriteU32(at, kInfoHeaderBytes);
    WriteU32(at + 4, width);
    WriteU32(at + 8, static_cast<std::uint32_t>(-static_cast<std::int64_t>(height)));
    WriteU16(at + 12, 1);
    WriteU16(at + 14, 8);
    WriteU32(at + 20, static_cast<std::uint32_t>(rowBytes * height));
    WriteU32(at + 32, entries);
    std::memcpy(at + kInfoHeaderBytes, palette, 4 * std::size_t{entries});
    for (std::uint32_t y = 0; y < height; ++y) {
        std::memcpy(file.data() + pixelsAt + y * rowBytes, top + std::ptrdiff_t{y} * stride, width);
    }
    return file;
}

}  // namespace

Result<SheetPicture> SheetPicture::Decode(std::vector<std::uint8_t> file) {
    try {
        if (png::HasPngSignature(file)) {
            Result<png::DecodedPicture> decoded = png::DecodePng(file);
            if (!decoded) {
                return Failure{decoded.error()};
            }
            SheetPicture picture;
            picture.png_ = std::move(decoded).value();
            picture.width_ = picture.png_.width;
            picture.height_ = picture.png_.height;
            return picture;
        }
        return FromBitmap(std::move(file));
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for an image this large"};
    }
}

// Rows of 8 and 24 bits are read where they lie in the file; RLE8 and masked pixels are
// expanded first, as the bitmap reader expands them.
Result<SheetPicture> SheetPicture::FromBitmap(std::vector<std::uint8_t> file) {
    SheetPicture picture;
    picture.bytes_ = std::move(file);
    const Result<BitmapLayout> read = ReadBitmapLayout(picture.bytes_);
    if (!read) {
        return Failure{read.error()};
    }
    const BitmapLayout& layout = read.value();
    picture.width_ = layout.width;
    picture.height_ = layout.height;
    picture.kind_ = Kind::TrueColour;
    if (layout.width == 0 || layout.height == 0) {
        return picture;  // no pixels to cut
    }
    picture.top_ = layout.pixelData.data();
    picture.stride_ = static_cast<std::ptrdiff_t>(layout.rowStride);
    if (!layout.topDown) {
        picture.top_ += std::ptrdiff_t{layout.height - 1} * picture.stride_;
        picture.stride_ = -picture.stride_;
    }
    switch (layout.encoding) {
        case PixelEncoding::Rgb24:
            return picture;
        case PixelEncoding::Masked16:
        case PixelEncoding::Masked32: {
            ExpandedTrueColour expanded = ExpandMaskedPixels(layout);
            picture.bytes_ = std::move(expanded.bytes);
            picture.Own(static_cast<std::ptrdiff_t>(expanded.stride));
            return picture;
        }
        case PixelEncoding::Rle8: {
            const std::size_t stride = static_cast<std::size_t>(ConvertedWidth(layout.width));
            std::vector<std::uint8_t> rows(stride * layout.height);
            if (const Status s =
                    ExpandRle8(layout.pixelData, layout.width, layout.height, rows, stride);
                !s) {
                return Failure{s.error()};
            }
            picture.bytes_ = std::move(rows);
            picture.Own(static_cast<std::ptrdiff_t>(stride));
            break;
        }
        case PixelEncoding::Paletted8:
            break;
    }
    picture.kind_ = Kind::Paletted;
    picture.palette_ = layout.palette;
    picture.paletteEntries_ = layout.paletteEntries;
    return picture;
}

SheetColour SheetPicture::At(std::uint32_t x, std::uint32_t y) const {
    const std::size_t at = std::size_t{y} * width_ + x;
    switch (kind_) {
        case Kind::Png: {
            const std::uint8_t* p = png_.layout == png::PixelLayout::Rgba
                                        ? png_.pixels.data() + 4 * at
                                        : png_.palette.data() + 4 * std::size_t{png_.pixels[at]};
            return {p[0], p[1], p[2], p[3] >= kOpaqueAlpha};
        }
        case Kind::TrueColour: {
            const std::uint8_t* p = Row(y) + 3 * std::size_t{x};
            return {p[2], p[1], p[0], true};
        }
        case Kind::Paletted:
            break;
    }
    const std::uint8_t* p = palette_.data() + 4 * std::size_t{Row(y)[x]};
    return {p[2], p[1], p[0], true};
}

bool SheetPicture::Transparent(std::uint32_t x, std::uint32_t y, std::uint32_t width,
                               std::uint32_t height) const {
    if (kind_ != Kind::Png) {
        return false;
    }
    for (std::uint32_t row = y; row < y + height; ++row) {
        for (std::uint32_t column = x; column < x + width; ++column) {
            if (At(column, row).opaque) {
                return false;
            }
        }
    }
    return true;
}

Result<IndexedImage> SheetPicture::Reduce(std::uint32_t x, std::uint32_t y, std::uint32_t width,
                                          std::uint32_t height, ConversionMode mode,
                                          BlackHandling black) const {
    try {
        switch (kind_) {
            case Kind::Png:
                return ReducePng(x, y, width, height, mode, black);
            case Kind::TrueColour: {
                const TrueColourRows rows{Row(y) + 3 * std::size_t{x}, stride_, width, height};
                return ReduceToGamePalette(rows, mode, black);
            }
            case Kind::Paletted:
                break;
        }
        return ReducePaletted(x, y, width, height, mode, black);
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for an image this large"};
    }
}

// The rectangle as a PNG file of its own would decode: same layout, same palette.
Result<IndexedImage> SheetPicture::ReducePng(std::uint32_t x, std::uint32_t y, std::uint32_t width,
                                             std::uint32_t height, ConversionMode mode,
                                             BlackHandling black) const {
    const std::size_t bytesPerPixel = png_.layout == png::PixelLayout::Rgba ? 4 : 1;
    png::DecodedPicture part;
    part.width = width;
    part.height = height;
    part.layout = png_.layout;
    part.palette = png_.palette;
    part.paletteEntries = png_.paletteEntries;
    part.pixels.resize(bytesPerPixel * width * height);
    const std::size_t rowBytes = bytesPerPixel * width;
    for (std::uint32_t row = 0; row < height; ++row) {
        const std::size_t from = bytesPerPixel * ((std::size_t{y} + row) * width_ + x);
        std::memcpy(part.pixels.data() + row * rowBytes, png_.pixels.data() + from, rowBytes);
    }
    return ConvertPngPicture(part, mode, black);
}

// The rectangle as a bitmap file of its own, with this one's palette, and decoded as such:
// taken over when the palette is the game's, refused for indexes past a short palette.
Result<IndexedImage> SheetPicture::ReducePaletted(std::uint32_t x, std::uint32_t y,
                                                  std::uint32_t width, std::uint32_t height,
                                                  ConversionMode mode, BlackHandling black) const {
    const Result<std::vector<std::uint8_t>> file =
        PalettedBitmapFile(Row(y) + x, stride_, width, height, palette_.data(), paletteEntries_);
    if (!file) {
        return Failure{file.error()};
    }
    return DecodeBitmap(file.value(), mode, black);
}

}  // namespace quorvel
