#pragma once
// The two ways a bitmap not already in the game palette is reduced to it.
//
// ReduceNearest maps each pixel independently to its nearest palette entry. DiffuseDither
// matches each pixel the same way but spreads the difference to the pixels not yet visited:
// 7/16 right, 5/16 below-left, 3/16 below, 1/16 below-right, each with an arithmetic shift
// right by 4 (rounding toward minus infinity). Channel values are clamped to 0..255 after
// the error is added and before the search; no error is spread when the match is exact.
//
// Output: width rounded up to a multiple of 4, the added columns holding index 0.
// The true-colour variants read pixels as blue, green, red; the paletted variants read one
// byte per pixel and look it up in a 256-entry bitmap palette (blue, green, red, reserved).
// The RGBA variants read red, green, blue, alpha: a pixel with alpha below 128 is transparent
// and becomes index 0; any other is matched by its red, green and blue as they stand, exactly
// as the same colour in true-colour rows. A transparent pixel takes part in no dithering: the
// error that would reach it is dropped and it passes none on.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "core/indexed_image.h"
#include "core/worker_threads.h"

namespace quorvel {

// Source rows top to bottom: row y starts at top + y × stride. The stride is negative for
// bitmaps stored bottom-up, so the rows can be read in place without flipping them first.
struct TrueColourRows {
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

struct PalettedRows {
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    const std::uint8_t* palette = nullptr;  // 256 entries of blue, green, red, reserved
};

// Rows a decoder is still writing while they are reduced. They pass through a ring of `slots`
// rows, row y in slot y % slots: the decoder publishes in `decoded` how many rows it has
// written, and may write row y once `released` has counted past y - slots, the rows the
// reduction is done with. A decoder that fails sets `abandoned` and then publishes every row
// as decoded, so that nothing waits for it; the reduction then stops early, its result unused.
struct ArrivingRows {
    Progress decoded;
    Progress released;
    std::atomic<bool> abandoned{false};
    std::uint32_t slots = 1;

    // The reduction takes rows in batches of this many (a multiple of the dither's bands), so
    // that it wakes once a batch, not once a row. The ring holds at least two.
    static constexpr std::uint32_t kBatchRows = 16;

    // Waits until `count` rows are decoded; false if decoding was abandoned instead.
    bool WaitForRows(std::uint32_t count) {
        decoded.WaitFor(count);
        return !abandoned.load(std::memory_order_acquire);
    }
};

// `top` and `stride` address the ring's slots when `arriving` is set; then the reduction runs
// on one thread, beside the decoder's.
struct RgbaRows {
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    ArrivingRows* arriving = nullptr;
};

// Alpha values from this one up are opaque.
inline constexpr std::uint8_t kOpaqueAlpha = 128;

// Width of a converted image: the source width rounded up to a multiple of 4.
constexpr std::uint64_t ConvertedWidth(std::uint32_t width) {
    return (static_cast<std::uint64_t>(width) + 3) / 4 * 4;
}

// `black` says what an opaque pixel whose search chose index 0 becomes (core/black_handling.h).
// `threads` is how many threads may share the work; kThreadsBySize leaves it to the picture's
// size and the processors this process may use. Every count gives the same bytes.
inline constexpr unsigned kThreadsBySize = 0;

IndexedImage ReduceNearest(const TrueColourRows& rows,
                           BlackHandling black = BlackHandling::AsSearched,
                           unsigned threads = kThreadsBySize);
IndexedImage ReduceNearest(const PalettedRows& rows,
                           BlackHandling black = BlackHandling::AsSearched,
                           unsigned threads = kThreadsBySize);
IndexedImage ReduceNearest(const RgbaRows& rows, BlackHandling black = BlackHandling::AsSearched,
                           unsigned threads = kThreadsBySize);
IndexedImage DiffuseDither(const TrueColourRows& rows,
                           BlackHandling black = BlackHandling::AsSearched,
                           unsigned threads = kThreadsBySize);
IndexedImage DiffuseDither(const PalettedRows& rows,
                           BlackHandling black = BlackHandling::AsSearched,
                           unsigned threads = kThreadsBySize);
IndexedImage DiffuseDither(const RgbaRows& rows, BlackHandling black = BlackHandling::AsSearched,
                           unsigned threads = kThreadsBySize);

// The method the mode names.
IndexedImage ReduceToGamePalette(const TrueColourRows& rows, ConversionMode mode,
                                 BlackHandling black = BlackHandling::AsSearched,
                                 unsigned threads = kThreadsBySize);
IndexedImage ReduceToGamePalette(const PalettedRows& rows, ConversionMode mode,
                                 BlackHandling black = BlackHandling::AsSearched,
                                 unsigned threads = kThreadsBySize);
IndexedImage ReduceToGamePalette(const RgbaRows& rows, ConversionMode mode,
                                 BlackHandling black = BlackHandling::AsSearched,
                                 unsigned threads = kThreadsBySize);

}  // namespace quorvel
