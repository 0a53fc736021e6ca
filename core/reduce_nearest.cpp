#include <array>

#include "core/colour_reduction.h"
#include "core/nearest_index.h"
#include "core/source_pixels.h"

namespace quorvel {

namespace {

template <BlackHandling kBlack>
IndexedImage NearestTrueColour(const TrueColourRows& rows) {
    const detail::TrueColourReader reader{rows};
    IndexedImage image = detail::MakeConvertedImage(rows.width, rows.height);
    for (std::uint32_t y = 0; y < rows.height; ++y) {
        const std::uint8_t* source = reader.Row(y);
        std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        std::uint8_t* const end = out + rows.width;
        for (; out != end; ++out, source += 3) {
            *out = WrittenIndex<kBlack>(FindNearestIndex(source[2], source[1], source[0]).index);
        }
        // Columns from width to the converted width stay 0.
    }
    return image;
}

template <BlackHandling kBlack>
IndexedImage NearestRgba(const RgbaRows& rows) {
    const detail::RgbaReader reader{rows};
    IndexedImage image = detail::MakeConvertedImage(rows.width, rows.height);
    for (std::uint32_t y = 0; y < rows.height; ++y) {
        const std::uint8_t* source = reader.Row(y);
        std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        std::uint8_t* const end = out + rows.width;
        for (; out != end; ++out, source += 4) {
            // Transparent pixels keep the 0 the image starts with.
            if (source[3] >= kOpaqueAlpha) {
                *out =
                    WrittenIndex<kBlack>(FindNearestIndex(source[0], source[1], source[2]).index);
            }
        }
    }
    return image;
}

}  // namespace

IndexedImage ReduceNearest(const TrueColourRows& rows, BlackHandling black) {
    return black == BlackHandling::KeepVisible ? NearestTrueColour<BlackHandling::KeepVisible>(rows)
                                               : NearestTrueColour<BlackHandling::AsSearched>(rows);
}

IndexedImage ReduceNearest(const RgbaRows& rows, BlackHandling black) {
    return black == BlackHandling::KeepVisible ? NearestRgba<BlackHandling::KeepVisible>(rows)
                                               : NearestRgba<BlackHandling::AsSearched>(rows);
}

IndexedImage ReduceNearest(const PalettedRows& rows, BlackHandling black) {
    // A pixel's result depends only on its palette entry, so each entry is searched once.
    const detail::PalettedReader reader(rows);
    std::array<std::uint8_t, 256> nearest;
    for (std::size_t i = 0; i < nearest.size(); ++i) {
        const detail::Colour c = reader.Entry(i);
        const std::uint8_t index = FindNearestIndex(c.red, c.green, c.blue).index;
        nearest[i] = black == BlackHandling::KeepVisible
                         ? WrittenIndex<BlackHandling::KeepVisible>(index)
                         : index;
    }
    IndexedImage image = detail::MakeConvertedImage(rows.width, rows.height);
    for (std::uint32_t y = 0; y < rows.height; ++y) {
        const std::uint8_t* source = reader.Row(y);
        std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        for (std::uint32_t x = 0; x < rows.width; ++x) {
            out[x] = nearest[source[x]];
        }
    }
    return image;
}

IndexedImage ReduceToGamePalette(const TrueColourRows& rows, ConversionMode mode,
                                 BlackHandling black) {
    return mode == ConversionMode::Nearest ? ReduceNearest(rows, black)
                                           : DiffuseDither(rows, black);
}

IndexedImage ReduceToGamePalette(const PalettedRows& rows, ConversionMode mode,
                                 BlackHandling black) {
    return mode == ConversionMode::Nearest ? ReduceNearest(rows, black)
                                           : DiffuseDither(rows, black);
}

IndexedImage ReduceToGamePalette(const RgbaRows& rows, ConversionMode mode, BlackHandling black) {
    return mode == ConversionMode::Nearest ? ReduceNearest(rows, black)
                                           : DiffuseDither(rows, black);
}

}  // namespace quorvel
