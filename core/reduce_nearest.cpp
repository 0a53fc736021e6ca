#include <array>

#include "core/colour_reduction.h"
#include "core/nearest_index.h"
#include "core/source_pixels.h"

namespace quorvel {

namespace {

// Each pixel, kBytes of a row read by `Reader`, written to its index by `write(source, index)`;
// pixels `write` leaves alone, and the columns from the width to the converted width, stay 0.
template <std::size_t kBytes, typename Reader, typename Rows, typename Write>
IndexedImage NearestRows(const Rows& rows, Write write) {
    const Reader reader{rows};
    IndexedImage image = detail::MakeConvertedImage(rows.width, rows.height);
    for (std::uint32_t y = 0; y < rows.height; ++y) {
        const std::uint8_t* source = reader.Row(y);
        std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        std::uint8_t* const end = out + rows.width;
        for (; out != end; ++out, source += kBytes) {
            write(source, *out);
        }
    }
    return image;
}

template <BlackHandling kBlack>
IndexedImage NearestTrueColour(const TrueColourRows& rows) {
    return NearestRows<3, detail::TrueColourReader>(
        rows, [](const std::uint8_t* bgr, std::uint8_t& index) {
            index = WrittenIndex<kBlack>(FindNearestIndex(bgr[2], bgr[1], bgr[0]).index);
        });
}

template <BlackHandling kBlack>
IndexedImage NearestRgba(const RgbaRows& rows) {
    return NearestRows<4, detail::RgbaReader>(
        rows, [](const std::uint8_t* rgba, std::uint8_t& index) {
            if (rgba[3] >= kOpaqueAlpha) {  // transparent pixels stay 0
                index = WrittenIndex<kBlack>(FindNearestIndex(rgba[0], rgba[1], rgba[2]).index);
            }
        });
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
