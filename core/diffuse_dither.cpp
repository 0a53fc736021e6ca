#include <algorithm>
#include <vector>

#include "core/colour_reduction.h"
#include "core/nearest_index.h"
#include "core/source_pixels.h"

namespace quorvel {

namespace {

struct Error {
    std::int32_t red = 0;
    std::int32_t green = 0;
    std::int32_t blue = 0;
};

constexpr std::int32_t ClampChannel(std::int32_t v) {
    return std::clamp(v, 0, 255);
}

// Each pixel's error e goes 7/16 right, 5/16 below-left, 3/16 below and 1/16 below-right, every
// share an arithmetic shift right by 4 (rounding toward minus infinity).
//
// The error rows are kept in one array of width + 2 elements, element x + 1 for pixel x, so
// that the neighbours x - 1 and x + 1 of every pixel have one; what falls on the two outer
// elements is never read. It holds the current row to the right of the pixel being matched
// and the next row to its left: pixel x reads element x + 1 of the current row, which is
// then free to take the next row's shares for the pixel below (3/16 of this pixel and 1/16
// of the one before, carried since then); element x, below-left, then receives its last
// share, 5/16. The share to the right is carried to the next pixel. Integer sums do not
// depend on their order, so the result is that of separate current and next rows, and the
// rows never need clearing.
struct RowState {
    const std::uint8_t* source;
    std::uint8_t* out;
    Error right;       // 7/16 of the previous pixel's error
    Error belowRight;  // 1/16 of the previous pixel's error, for the pixel below this one
};

template <typename Reader>
[[gnu::always_inline]] inline void DitherPixel(const Reader& reader, RowState& row,
                                               Error* rowErrors, std::uint32_t x) {
    const detail::Colour c = reader.At(row.source, x);
    Error& here = rowErrors[x + 1];
    const std::int32_t red = ClampChannel(c.red + here.red + row.right.red);
    const std::int32_t green = ClampChannel(c.green + here.green + row.right.green);
    const std::int32_t blue = ClampChannel(c.blue + here.blue + row.right.blue);
    const NearestMatch match = FindNearestIndex(red, green, blue);
    row.out[x] = match.index;

    // The differences are the clamped value minus the chosen entry's colour; an exact match
    // has all three 0 and so spreads nothing.
    const Error e{match.dRed, match.dGreen, match.dBlue};
    row.right = {(7 * e.red) >> 4, (7 * e.green) >> 4, (7 * e.blue) >> 4};
    Error& belowLeft = rowErrors[x];
    belowLeft.red += (5 * e.red) >> 4;
    belowLeft.green += (5 * e.green) >> 4;
    belowLeft.blue += (5 * e.blue) >> 4;
    here = {((3 * e.red) >> 4) + row.belowRight.red, ((3 * e.green) >> 4) + row.belowRight.green,
            ((3 * e.blue) >> 4) + row.belowRight.blue};
    row.belowRight = {e.red >> 4, e.green >> 4, e.blue >> 4};
}

// Rows are dithered two at a time, the second two pixels behind the first. Each pixel waits
// for the one before it in its row (the error to the right), so a single row is one long
// chain of dependent steps and leaves the processor mostly idle; the second row adds an
// independent chain to fill it. It only ever reads elements of the shared array that the
// first row has finished with: pixel x of the second row needs the first row's pixels up to
// x + 1, which are done two steps earlier, and the elements either row writes in a step lie
// apart from those the other reads or writes in it.
template <typename Reader>
IndexedImage DitherWith(const Reader& reader, std::uint32_t width, std::uint32_t height) {
    IndexedImage image = detail::MakeConvertedImage(width, height);
    std::vector<Error> errors(static_cast<std::size_t>(width) + 2);
    Error* const rowErrors = errors.data();
    auto rowState = [&](std::uint32_t y) {
        return RowState{
            reader.Row(y), image.pixels.data() + static_cast<std::size_t>(y) * image.width, {}, {}};
    };

    std::uint32_t y = 0;
    for (; y + 1 < height; y += 2) {
        RowState first = rowState(y);
        RowState second = rowState(y + 1);
        rowErrors[0] = {};  // never read; cleared so that it cannot grow without bound
        const std::uint32_t lead = std::min<std::uint32_t>(width, 2);
        for (std::uint32_t x = 0; x < lead; ++x) {
            DitherPixel(reader, first, rowErrors, x);
        }
        for (std::uint32_t x = lead; x < width; ++x) {
            DitherPixel(reader, first, rowErrors, x);
            DitherPixel(reader, second, rowErrors, x - 2);
        }
        for (std::uint32_t x = width - lead; x < width; ++x) {
            DitherPixel(reader, second, rowErrors, x);
        }
    }
    if (y < height) {
        RowState last = rowState(y);
        rowErrors[0] = {};
        for (std::uint32_t x = 0; x < width; ++x) {
            DitherPixel(reader, last, rowErrors, x);
        }
    }
    return image;
}

}  // namespace

IndexedImage DiffuseDither(const TrueColourRows& rows) {
    return DitherWith(detail::TrueColourReader{rows}, rows.width, rows.height);
}

IndexedImage DiffuseDither(const PalettedRows& rows) {
    return DitherWith(detail::PalettedReader(rows), rows.width, rows.height);
}

}  // namespace quorvel
