// Decodes any input as a bitmap file, by nearest colour and by dithering, and checks what
// every decode must give: the same acceptance and the same size in both modes, a reason for
// every refusal, and an image whose pixels are all game-palette indexes a conversion writes.

#include <algorithm>

#include "core/bitmap_reader.h"
#include "fuzz/bitmap_header_peek.h"
#include "fuzz/fuzz_support.h"

namespace {

using quorvel::IndexedImage;

void CheckImage(const IndexedImage& image) {
    QUORVEL_FUZZ_CHECK(image.pixels.size() ==
                       static_cast<std::uint64_t>(image.width) * image.height);
    // Converted widths are rounded up to a multiple of 4, and so are taken-over rows.
    QUORVEL_FUZZ_CHECK(image.width % 4 == 0);
    // Indexes 1 to 10 are white duplicates that no decode produces (242 is written instead).
    QUORVEL_FUZZ_CHECK(std::none_of(image.pixels.begin(), image.pixels.end(),
                                    [](std::uint8_t index) { return index >= 1 && index <= 10; }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvel::fuzzing::PrepareProcess();
    const std::span<const std::uint8_t> file(data, size);
    if (quorvel::fuzzing::StatesLargeCompressedImage(file)) {
        return -1;
    }

    const auto nearest = quorvel::DecodeBitmap(file, quorvel::ConversionMode::Nearest);
    const auto dithered = quorvel::DecodeBitmap(file, quorvel::ConversionMode::Dither);

    QUORVEL_FUZZ_CHECK(nearest.ok() == dithered.ok());
    if (!nearest.ok()) {
        QUORVEL_FUZZ_CHECK(!nearest.error().empty());
        QUORVEL_FUZZ_CHECK(nearest.error() == dithered.error());
        return 0;
    }
    CheckImage(nearest.value());
    CheckImage(dithered.value());
    QUORVEL_FUZZ_CHECK(nearest.value().width == dithered.value().width);
    QUORVEL_FUZZ_CHECK(nearest.value().height == dithered.value().height);
    return 0;
}
