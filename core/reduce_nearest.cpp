#include "core/colour_reduction.h"
#include "core/nearest_index.h"
#include "core/source_pixels.h"

namespace quorvel {

namespace {

template <typename Reader>
IndexedImage ReduceNearestWith(const Reader& reader, std::uint32_t width, std::uint32_t height) {
    IndexedImage image = detail::MakeConvertedImage(width, height);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* source = reader.Row(y);
        std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        for (std::uint32_t x = 0; x < width; ++x) {
            const detail::Colour c = reader.At(source, x);
            out[x] = FindNearestIndex(c.red, c.green, c.blue).index;
        }
        // Columns from width to the converted width stay 0.
    }
    return image;
}

}  // namespace

IndexedImage ReduceNearest(const TrueColourRows& rows) {
    return ReduceNearestWith(detail::TrueColourReader{rows}, rows.width, rows.height);
}

IndexedImage ReduceNearest(const PalettedRows& rows) {
    return ReduceNearestWith(detail::PalettedReader{rows}, rows.width, rows.height);
}

IndexedImage ReduceToGamePalette(const TrueColourRows& rows, ConversionMode mode) {
    return mode == ConversionMode::Nearest ? ReduceNearest(rows) : DiffuseDither(rows);
}

IndexedImage ReduceToGamePalette(const PalettedRows& rows, ConversionMode mode) {
    return mode == ConversionMode::Nearest ? ReduceNearest(rows) : DiffuseDither(rows);
}

}  // namespace quorvel
