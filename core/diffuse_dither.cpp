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
// and the next row to its left: pixel x reads element x + 1 of the current row, and by then
// element x of the next row has received everything it will get (from pixels x - 2, x - 1
// and x), so it is written in the place pixel x - 1 read. The shares still in flight — the
// right share and the next row's two partial sums — are carried from pixel to pixel, which
// also spares clearing the rows. Integer sums do not depend on their order, so the result is
// that of separate current and next rows.
template <typename Reader>
IndexedImage DitherWith(const Reader& reader, std::uint32_t width, std::uint32_t height) {
    IndexedImage image = detail::MakeConvertedImage(width, height);
    std::vector<Error> errors(static_cast<std::size_t>(width) + 2);
    Error* const rowErrors = errors.data();

    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* source = reader.Row(y);
        std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        Error fromLeft;   // 7/16 of the previous pixel's error
        Error belowLeft;  // next row, element x: the shares of pixels x - 2 and x - 1
        Error below;      // next row, element x + 1: the share of pixel x - 1
        for (std::uint32_t x = 0; x < width; ++x) {
            const detail::Colour c = reader.At(source, x);
            const Error& here = rowErrors[x + 1];
            const std::int32_t red = ClampChannel(c.red + here.red + fromLeft.red);
            const std::int32_t green = ClampChannel(c.green + here.green + fromLeft.green);
            const std::int32_t blue = ClampChannel(c.blue + here.blue + fromLeft.blue);
            const NearestMatch match = FindNearestIndex(red, green, blue);
            out[x] = match.index;

            // The differences are the clamped value minus the chosen entry's colour; an exact
            // match has all three 0 and so spreads nothing.
            const Error e{match.dRed, match.dGreen, match.dBlue};
            fromLeft = {(7 * e.red) >> 4, (7 * e.green) >> 4, (7 * e.blue) >> 4};
            rowErrors[x] = {belowLeft.red + ((5 * e.red) >> 4),
                            belowLeft.green + ((5 * e.green) >> 4),
                            belowLeft.blue + ((5 * e.blue) >> 4)};
            belowLeft = {below.red + ((3 * e.red) >> 4), below.green + ((3 * e.green) >> 4),
                         below.blue + ((3 * e.blue) >> 4)};
            below = {e.red >> 4, e.green >> 4, e.blue >> 4};
        }
        rowErrors[width] = belowLeft;
        rowErrors[width + 1] = below;
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
