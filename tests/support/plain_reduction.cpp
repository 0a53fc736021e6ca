#include "tests/support/plain_reduction.h"

#include <algorithm>
#include <vector>

#include "core/nearest_index.h"

namespace quorvel::testing {

IndexedImage PlainReduction(std::uint32_t width, std::uint32_t height, const PlainPixel& pixel,
                            ConversionMode mode, BlackHandling black) {
    IndexedImage image{(width + 3) / 4 * 4, height, {}};
    image.pixels.assign(std::size_t{image.width} * height, 0);
    // Errors owed to the pixels of this row and the next; element x + 1 belongs to pixel x.
    std::vector<std::array<int, 3>> current(width + 2), next(width + 2);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::optional<std::array<int, 3>> colour = pixel(x, y);
            if (!colour) {
                continue;
            }
            int v[3];
            for (int c = 0; c < 3; ++c) {
                v[c] = std::clamp((*colour)[c] + current[x + 1][c], 0, 255);
            }
            const NearestMatch m = FindNearestIndexByScan(v[0], v[1], v[2]);
            const bool keep = m.index == 0 && black == BlackHandling::KeepVisible;
            image.pixels[std::size_t{y} * image.width + x] = keep ? 243 : m.index;
            const int e[3] = {m.dRed, m.dGreen, m.dBlue};
            for (int c = 0; mode == ConversionMode::Dither && c < 3; ++c) {
                current[x + 2][c] += (7 * e[c]) >> 4;
                next[x][c] += (5 * e[c]) >> 4;
                next[x + 1][c] += (3 * e[c]) >> 4;
                next[x + 2][c] += e[c] >> 4;
            }
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), std::array<int, 3>{});
    }
    return image;
}

}  // namespace quorvel::testing
