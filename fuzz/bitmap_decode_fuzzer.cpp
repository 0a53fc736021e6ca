// Decodes any input as a bitmap file, by nearest colour and by dithering: both modes accept or
// refuse alike and give the same size, every refusal has a reason, and every image is rows
// of a multiple of 4 indexes (an image without rows keeps its width) without the white
// duplicates 1 to 10.

#include <algorithm>

#include "core/bitmap_reader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    if (quorvel::fuzzing::StatesLargeCompressedImage(file)) {
        return -1;
    }
    const auto nearest = quorvel::DecodeBitmap(file, quorvel::ConversionMode::Nearest);
    const auto dithered = quorvel::DecodeBitmap(file, quorvel::ConversionMode::Dither);
    QUORVEL_FUZZ_CHECK(nearest.ok() == dithered.ok());
    if (!nearest.ok()) {
        QUORVEL_FUZZ_CHECK(!nearest.error().empty() && nearest.error() == dithered.error());
        return 0;
    }
    for (const quorvel::IndexedImage* image : {&nearest.value(), &dithered.value()}) {
        QUORVEL_FUZZ_CHECK(image->width == nearest.value().width &&
                           image->height == nearest.value().height &&
                           (image->width % 4 == 0 || image->height == 0));
        QUORVEL_FUZZ_CHECK(image->pixels.size() == std::uint64_t{image->width} * image->height);
        QUORVEL_FUZZ_CHECK(std::none_of(image->pixels.begin(), image->pixels.end(),
                                        [](std::uint8_t i) { return i >= 1 && i <= 10; }));
    }
    return 0;
}
