#include "core/bitmap_reader.h"

#include <cstring>
#include <new>
#include <vector>

#include "core/bitmap_headers.h"
#include "core/colour_reduction.h"
#include "core/game_palette.h"
#include "core/masked_pixels.h"
#include "core/read_reported.h"
#include "core/rle8.h"

namespace quorvel {

namespace {

// Entry 0 is left out: a bitmap in the game palette may carry any colour there.
bool CarriesGamePalette(const BitmapLayout& layout) {
    return layout.paletteEntries == kPaletteEntries &&
           std::memcmp(layout.palette.data() + 4, GamePalette.data() + 4,
                       kBitmapPaletteBytes - 4) == 0;
}

// Copies the rows as they are, row padding included, except that indexes 1 to 10 (white
// entries no conversion writes) become the white a conversion would write.
IndexedImage TakeOver(const PalettedRows& rows) {
    IndexedImage image;
    image.width = static_cast<std::uint32_t>(ConvertedWidth(rows.width));
    image.height = rows.height;
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    std::uint8_t* out = image.pixels.data();
    for (std::uint32_t y = 0; y < rows.height; ++y) {
        const std::uint8_t* in = rows.top + static_cast<std::ptrdiff_t>(y) * rows.stride;
        for (std::uint32_t x = 0; x < image.width; ++x) {
            const std::uint8_t v = in[x];
            *out++ = (v >= 1 && v <= 10) ? kWhiteIndex : v;
        }
    }
    return image;
}

bool IndexesWithinPalette(const PalettedRows& rows, std::uint32_t entries) {
    for (std::uint32_t y = 0; y < rows.height; ++y) {
        const std::uint8_t* in = rows.top + static_cast<std::ptrdiff_t>(y) * rows.stride;
        for (std::uint32_t x = 0; x < rows.width; ++x) {
            if (in[x] >= entries) {
                return false;
            }
        }
    }
    return true;
}

Result<IndexedImage> FromPaletted(const PalettedRows& rows, const BitmapLayout& layout,
                                  ConversionMode mode, BlackHandling black) {
    if (CarriesGamePalette(layout)) {
        return TakeOver(rows);
    }
    if (layout.paletteEntries < kPaletteEntries &&
        !IndexesWithinPalette(rows, layout.paletteEntries)) {
        return Failure{"a pixel refers to a colour its palette does not have"};
    }
    return ReduceToGamePalette(rows, mode, black);
}

// Rows read where they lie in the file; bottom-up files are walked with a negative stride.
template <typename Rows>
Rows RowsInPlace(const BitmapLayout& layout) {
    Rows rows;
    rows.width = layout.width;
    rows.height = layout.height;
    const auto stride = static_cast<std::ptrdiff_t>(layout.rowStride);
    rows.top = layout.pixelData.data();
    rows.stride = stride;
    if (!layout.topDown && layout.height != 0) {
        rows.top += static_cast<std::ptrdiff_t>(layout.height - 1) * stride;
        rows.stride = -stride;
    }
    return rows;
}

Result<IndexedImage> Decode(const BitmapLayout& layout, ConversionMode mode, BlackHandling black) {
    if (layout.width == 0 || layout.height == 0) {
        // No pixels, so no bytes bound the other dimension: neither walk the rows nor size
        // the dither's error rows by it. Compressed codes must still make sense. With no rows
        // there are no columns to add: the width stays as stored, so that an empty sprite
        // saved as a bitmap reads back at its own size.
        if (layout.encoding == PixelEncoding::Rle8) {
            const Status status = ExpandRle8(layout.pixelData, layout.width, layout.height, {}, 0);
            if (!status) {
                return Failure{status.error()};
            }
        }
        IndexedImage empty;
        empty.width = layout.width;
        empty.height = layout.height;
        return empty;
    }
    switch (layout.encoding) {
        case PixelEncoding::Paletted8: {
            auto rows = RowsInPlace<PalettedRows>(layout);
            rows.palette = layout.palette.data();
            return FromPaletted(rows, layout, mode, black);
        }
        case PixelEncoding::Rle8: {
            const std::size_t stride = static_cast<std::size_t>(ConvertedWidth(layout.width));
            std::vector<std::uint8_t> expanded(stride * layout.height);
            const Status status =
                ExpandRle8(layout.pixelData, layout.width, layout.height, expanded, stride);
            if (!status) {
                return Failure{status.error()};
            }
            const PalettedRows rows{expanded.data(), static_cast<std::ptrdiff_t>(stride),
                                    layout.width, layout.height, layout.palette.data()};
            return FromPaletted(rows, layout, mode, black);
        }
        case PixelEncoding::Rgb24:
            return ReduceToGamePalette(RowsInPlace<TrueColourRows>(layout), mode, black);
        case PixelEncoding::Masked16:
        case PixelEncoding::Masked32: {
            const ExpandedTrueColour expanded = ExpandMaskedPixels(layout);
            const TrueColourRows rows{expanded.bytes.data(),
                                      static_cast<std::ptrdiff_t>(expanded.stride), layout.width,
                                      layout.height};
            return ReduceToGamePalette(rows, mode, black);
        }
    }
    return Failure{"its pixel format is not supported"};
}

}  // namespace

Result<IndexedImage> DecodeBitmap(std::span<const std::uint8_t> file, ConversionMode mode,
                                  BlackHandling black) {
    const Result<BitmapLayout> layout = ReadBitmapLayout(file);
    if (!layout) {
        return Failure{layout.error()};
    }
    try {
        return Decode(layout.value(), mode, black);
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for an image this large"};
    }
}

bool LoadBitmapFile(const std::string& fileName, ConversionMode mode) {
    return LoadImageFile(fileName,
                         [mode](FileView& file) { return DecodeBitmap(file.bytes(), mode); });
}

}  // namespace quorvel
