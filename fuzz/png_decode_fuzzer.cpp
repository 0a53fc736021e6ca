// Decodes any input as a PNG file and converts it by nearest colour and by dithering, with
// black as searched and kept visible: all four accept or refuse alike; every refusal has a
// reason; every image has the picture's height, its width rounded up to a multiple of 4, and no
// white duplicates 1 to 10; keeping black changes nothing but zeros into 243.

#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "pictures/picture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    const auto picture = png::DecodePng(std::span<const std::uint8_t>(data, size));
    if (!picture) {
        QUORVEL_FUZZ_CHECK(!picture.error().empty());
        return 0;
    }
    const png::DecodedPicture& p = picture.value();
    QUORVEL_FUZZ_CHECK(png::DecodedBytes(p.width, p.height) <= png::kLargestDecodedBytes);
    const std::uint64_t bytesPerPixel = p.layout == png::PixelLayout::Rgba ? 4 : 1;
    QUORVEL_FUZZ_CHECK(p.pixels.size() == bytesPerPixel * p.width * p.height);
    for (const ConversionMode mode : {ConversionMode::Nearest, ConversionMode::Dither}) {
        const auto plain = ConvertPngPicture(p, mode, BlackHandling::AsSearched);
        const auto kept = ConvertPngPicture(p, mode, BlackHandling::KeepVisible);
        QUORVEL_FUZZ_CHECK(plain.ok() == kept.ok());
        if (!plain.ok()) {
            QUORVEL_FUZZ_CHECK(!plain.error().empty() && plain.error() == kept.error());
            continue;
        }
        const IndexedImage& image = plain.value();
        QUORVEL_FUZZ_CHECK(image.height == p.height && image.width % 4 == 0 &&
                           image.width - p.width < 4);
        QUORVEL_FUZZ_CHECK(image.pixels.size() == std::uint64_t{image.width} * image.height);
        QUORVEL_FUZZ_CHECK(std::none_of(image.pixels.begin(), image.pixels.end(),
                                        [](std::uint8_t i) { return i >= 1 && i <= 10; }));
        QUORVEL_FUZZ_CHECK(std::equal(
            image.pixels.begin(), image.pixels.end(), kept.value().pixels.begin(),
            [](std::uint8_t a, std::uint8_t b) { return a == b || (a == 0 && b == 243); }));
    }
    return 0;
}
