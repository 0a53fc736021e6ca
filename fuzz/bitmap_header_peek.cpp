#include "fuzz/bitmap_header_peek.h"

#include "core/bitmap_headers.h"

namespace quorvel::fuzzing {

bool StatesLargeCompressedImage(std::span<const std::uint8_t> file) {
    const Result<BitmapLayout> layout = ReadBitmapLayout(file);
    return layout && layout.value().encoding == PixelEncoding::Rle8 &&
           std::uint64_t{layout.value().width} * layout.value().height > kLargestCompressedPixels;
}

}  // namespace quorvel::fuzzing
