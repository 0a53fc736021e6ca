#include <algorithm>
#include <new>
#include <string>

#include "png/png_codec.h"
#include "png/png_shared.h"

namespace quorvel::png {

bool HasPngSignature(std::span<const std::uint8_t> file) {
    return file.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), file.begin());
}

Result<DecodedPicture> DecodePng(std::span<const std::uint8_t> file) {
    if (const Status size = detail::CheckStatedSize(file); !size) {
        return Failure{size.error()};
    }
    try {
        return detail::DecodeFile(file);
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for an image this large"};
    }
}

Result<std::vector<std::uint8_t>> EncodeIndexedPng(const IndexedImage& image) {
    if (!image.HasArea()) {
        return Failure{"a PNG file cannot hold an image without pixels"};
    }
    // The format's sides are positive 31-bit numbers.
    if (image.width > 0x7FFFFFFFu || image.height > 0x7FFFFFFFu) {
        return Failure{"the image is too large for a PNG file"};
    }
    try {
        return detail::EncodeFile(image);
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory to encode it"};
    }
}

namespace detail {

Status CheckStatedSize(std::span<const std::uint8_t> file) {
    // The header chunk comes first: signature, length, "IHDR", width and height big-endian.
    constexpr std::size_t kWidthAt = 16;
    if (!HasPngSignature(file) || file.size() < kWidthAt + 8 ||
        !std::equal(file.begin() + 12, file.begin() + 16, "IHDR")) {
        return Success();  // the decoder says what is wrong
    }
    auto field = [&](std::size_t at) {
        return std::uint32_t{file[at]} << 24 | std::uint32_t{file[at + 1]} << 16 |
               std::uint32_t{file[at + 2]} << 8 | file[at + 3];
    };
    const std::uint32_t width = field(kWidthAt), height = field(kWidthAt + 4);
    if (DecodedBytes(width, height) > kLargestDecodedBytes) {
        return Failure{"its " + std::to_string(width) + " × " + std::to_string(height) +
                       " pixels would take more than 256 MiB decoded"};
    }
    return Success();
}

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
