#include <algorithm>
#include <utility>
#include <vector>

#include "core/colour_reduction.h"
#include "core/nearest_index.h"
#include "core/source_pixels.h"

namespace quorvel {

namespace {

// Accumulated error of one row for one channel. Element x + 1 belongs to pixel x, so the
// neighbours x - 1 and x + 1 of every pixel have an element; what lands on the two outer
// elements is never read back.
struct ErrorRow {
    std::vector<std::int32_t> red, green, blue;

    explicit ErrorRow(std::size_t size) : red(size), green(size), blue(size) {}
    void Clear() {
        std::fill(red.begin(), red.end(), 0);
        std::fill(green.begin(), green.end(), 0);
        std::fill(blue.begin(), blue.end(), 0);
    }
};

constexpr std::int32_t ClampChannel(std::int32_t v) {
    return std::clamp(v, 0, 255);
}

// Spreads one channel's error e of pixel x: 7/16 right, 5/16 below-left, 3/16 below and 1/16
// below-right. The shifts are arithmetic, so negative errors round toward minus infinity.
inline void Spread(std::int32_t e, std::size_t x, std::vector<std::int32_t>& current,
                   std::vector<std::int32_t>& next) {
    current[x + 2] += (7 * e) >> 4;
    next[x] += (5 * e) >> 4;
    next[x + 1] += (3 * e) >> 4;
    next[x + 2] += e >> 4;
}

template <typename Reader>
IndexedImage DitherWith(const Reader& reader, std::uint32_t width, std::uint32_t height) {
    IndexedImage image = detail::MakeConvertedImage(width, height);
    const std::size_t errorSize = static_cast<std::size_t>(width) + 2;
    ErrorRow current(errorSize);
    ErrorRow next(errorSize);

    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* source = reader.Row(y);
        std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        for (std::uint32_t x = 0; x < width; ++x) {
            const detail::Colour c = reader.At(source, x);
            const std::int32_t red = ClampChannel(c.red + current.red[x + 1]);
            const std::int32_t green = ClampChannel(c.green + current.green[x + 1]);
            const std::int32_t blue = ClampChannel(c.blue + current.blue[x + 1]);
            const NearestMatch match = FindNearestIndex(red, green, blue);
            out[x] = match.index;
            if (match.distance != 0) {
                // The differences are the clamped value minus the chosen entry's colour.
                Spread(match.dRed, x, current.red, next.red);
                Spread(match.dGreen, x, current.green, next.green);
                Spread(match.dBlue, x, current.blue, next.blue);
            }
        }
        current.Clear();
        std::swap(current, next);
    }
    return image;
}

}  // namespace

IndexedImage DiffuseDither(const TrueColourRows& rows) {
    return DitherWith(detail::TrueColourReader{rows}, rows.width, rows.height);
}

IndexedImage DiffuseDither(const PalettedRows& rows) {
    return DitherWith(detail::PalettedReader{rows}, rows.width, rows.height);
}

}  // namespace quorvel
