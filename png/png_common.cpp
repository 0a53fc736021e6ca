#include <algorithm>

#include "png/png_codec.h"
#include "png/png_rows.h"

namespace quorvel::png {

bool HasPngSignature(std::span<const std::uint8_t> file) {
    return file.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), file.begin());
}

namespace detail {

void UnpackIndexes(std::vector<std::uint8_t>& pixels, std::uint32_t width, std::uint32_t height,
                   unsigned depth) {
    const std::size_t packedStride = (std::size_t{width} * depth + 7) / 8;
    std::vector<std::uint8_t> packed;
    packed.swap(pixels);
    pixels.resize(std::size_t{width} * height);
    const unsigned mask = (1u << depth) - 1;
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* in = packed.data() + y * packedStride;
        std::uint8_t* out = pixels.data() + std::size_t{y} * width;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::size_t bit = std::size_t{x} * depth;
            const unsigned shift = 8 - depth - static_cast<unsigned>(bit % 8);
            out[x] = static_cast<std::uint8_t>((in[bit / 8] >> shift) & mask);
        }
    }
}

}  // namespace detail

}  // namespace quorvel::png
