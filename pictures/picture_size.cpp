#include "pictures/picture_size.h"

#include <algorithm>

#include "core/bitmap_headers.h"
#include "png/png_codec.h"

namespace quorvel {

namespace {

// A PNG file opens with its signature and then the header chunk: length 13 (4 bytes), type
// "IHDR", then width and height as big-endian 32-bit numbers, each from 1 to 2^31 - 1.
constexpr std::size_t kHeaderChunkAt = 8;
constexpr std::size_t kHeaderDataAt = kHeaderChunkAt + 8;
constexpr std::size_t kHeaderDataBytes = 13;
constexpr std::uint8_t kHeaderChunkStart[8] = {0, 0, 0, kHeaderDataBytes, 'I', 'H', 'D', 'R'};

std::uint32_t ReadBigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

Result<PictureSize> ReadPngSize(std::span<const std::uint8_t> file) {
    if (file.size() < kHeaderDataAt + kHeaderDataBytes ||
        !std::equal(std::begin(kHeaderChunkStart), std::end(kHeaderChunkStart),
                    file.begin() + kHeaderChunkAt)) {
        return Failure{"the file does not begin with a PNG header chunk"};
    }
    const PictureSize size{ReadBigEndian32(file, kHeaderDataAt),
                           ReadBigEndian32(file, kHeaderDataAt + 4)};
    constexpr std::uint32_t kLargestSide = 0x7FFFFFFF;
    if (size.width == 0 || size.height == 0 || size.width > kLargestSide ||
        size.height > kLargestSide) {
        return Failure{"its PNG header gives an impossible size"};
    }
    return size;
}

}  // namespace

Result<PictureSize> ReadPictureSize(std::span<const std::uint8_t> file) {
    if (png::HasPngSignature(file)) {
        return ReadPngSize(file);
    }
    const Result<BitmapLayout> layout = ReadBitmapLayout(file);
    if (!layout) {
        return Failure{layout.error()};
    }
    return PictureSize{layout.value().width, layout.value().height};
}

}  // namespace quorvel
