#include <array>

#include "core/colour_reduction.h"
#include "core/nearest_index.h"
#include "core/reduction_threads.h"
#include "core/source_pixels.h"

namespace quorvel {

namespace {

// Each pixel, kBytes of a row read by `Reader`, written to its index by
// `write(cells, source, index)` with the calling thread's cells;
// pixels `write` leaves alone, and the columns from the width to the converted width, stay 0.
// Rows are independent, so threads take them in pieces.
template <std::size_t kBytes, typename Reader, typename Rows, typename Write>
IndexedImage NearestRows(const Rows& rows, unsigned threads, Write write) {
    const Reader reader{rows};
    IndexedImage image = detail::MakeConvertedImage(rows.width, rows.height);
    std::uint8_t* const pixels = image.pixels.data();
    const std::size_t outWidth = image.width;
    const std::uint32_t width = rows.width;
    detail::ForEachRowPiece(rows, threads, [=](std::uint32_t first, std::uint32_t end) {
        // Locals only: the writes through `out` could otherwise alias anything the loop reads.
        const detail::ColourCells& cells = detail::ThreadCells();
        for (std::uint32_t y = first; y < end; ++y) {
            const std::uint8_t* source = reader.Row(y);
            std::uint8_t* out = pixels + y * outWidth;
            std::uint8_t* const last = out + width;
            for (; out != last; ++out, source += kBytes) {
                write(cells, source, *out);
            }
        }
    });
    return image;
}

template <BlackHandling kBlack>
IndexedImage NearestTrueColour(const TrueColourRows& rows, unsigned threads) {
    return NearestRows<3, detail::TrueColourReader>(
        rows, threads,
        [](const detail::ColourCells& cells, const std::uint8_t* bgr, std::uint8_t& index)
            __attribute__((always_inline)) {
                index = WrittenIndex<kBlack>(FindNearestIndex(cells, bgr[2], bgr[1], bgr[0]).index);
            });
}

template <BlackHandling kBlack>
IndexedImage NearestRgba(const RgbaRows& rows, unsigned threads) {
    return NearestRows<4, detail::RgbaReader>(
        rows, threads,
        [](const detail::ColourCells& cells, const std::uint8_t* rgba,
           std::uint8_t& index) __attribute__((always_inline)) {
            if (rgba[3] >= kOpaqueAlpha) {  // transparent pixels stay 0
                index =
                    WrittenIndex<kBlack>(FindNearestIndex(cells, rgba[0], rgba[1], rgba[2]).index);
            }
        });
}

}  // namespace

IndexedImage ReduceNearest(const TrueColourRows& rows, BlackHandling black, unsigned threads) {
    return black == BlackHandling::KeepVisible
               ? NearestTrueColour<BlackHandling::KeepVisible>(rows, threads)
               : NearestTrueColour<BlackHandling::AsSearched>(rows, threads);
}

IndexedImage ReduceNearest(const RgbaRows& rows, BlackHandling black, unsigned threads) {
    return black == BlackHandling::KeepVisible
               ? NearestRgba<BlackHandling::KeepVisible>(rows, threads)
               : NearestRgba<BlackHandling::AsSearched>(rows, threads);
}

IndexedImage ReduceNearest(const PalettedRows& rows, BlackHandling black, unsigned threads) {
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
    detail::ForEachRowPiece(rows, threads, [&](std::uint32_t first, std::uint32_t end) {
        for (std::uint32_t y = first; y < end; ++y) {
            const std::uint8_t* source = reader.Row(y);
            std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
            for (std::uint32_t x = 0; x < rows.width; ++x) {
                out[x] = nearest[source[x]];
            }
        }
    });
    return image;
}

IndexedImage ReduceToGamePalette(const TrueColourRows& rows, ConversionMode mode,
                                 BlackHandling black, unsigned threads) {
    return mode == ConversionMode::Nearest ? ReduceNearest(rows, black, threads)
                                           : DiffuseDither(rows, black, threads);
}

IndexedImage ReduceToGamePalette(const PalettedRows& rows, ConversionMode mode, BlackHandling black,
                                 unsigned threads) {
    return mode == ConversionMode::Nearest ? ReduceNearest(rows, black, threads)
                                           : DiffuseDither(rows, black, threads);
}

IndexedImage ReduceToGamePalette(const RgbaRows& rows, ConversionMode mode, BlackHandling black,
                                 unsigned threads) {
    return mode == ConversionMode::Nearest ? ReduceNearest(rows, black, threads)
                                           : DiffuseDither(rows, black, threads);
}

}  // namespace quorvel
