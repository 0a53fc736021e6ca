// Whatever decodes, encoded and decoded again, gives back what was decoded:
// - any input read as a bitmap (by nearest colour or dithering, chosen by the input's length)
//   and written as an 8-bit bitmap in the game palette reads back as the same image;
// - any input read as a sprite file and written again reads back as the same set, and writing
//   that set again gives the same bytes, laid out as the writer promises;
// - every sprite of such a set written as a bitmap reads back as the sprite with indexes 1 to
//   10 turned into 242 and each row padded with index 0 to a multiple of 4.

#include <algorithm>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "core/game_palette.h"
#include "fuzz/bitmap_header_peek.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/sprite_layout.h"
#include "sprites/sprite_file.h"

namespace {

using quorvel::ConversionMode;
using quorvel::IndexedImage;
using quorvel::SpriteSet;

constexpr std::size_t kBitmapHeadersAndPalette = 14 + 40 + 1024;

// A small file can state a set of many overlapping sprites, hundreds of MiB in all (the
// reader allows it up to its cap). Larger sets are only decoded, and at most this many pixels
// are written as bitmaps per input, so that such sets do not slow the search down.
constexpr std::uint64_t kLargestSetToRoundTrip = std::uint64_t{1} << 22;
constexpr std::uint64_t kLargestSpritePixelsToWrite = std::uint64_t{1} << 20;

bool SameImage(const IndexedImage& a, const IndexedImage& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

void CheckBitmapRoundTrip(std::span<const std::uint8_t> file) {
    if (quorvel::fuzzing::StatesLargeCompressedImage(file)) {
        return;
    }
    const ConversionMode mode =
        file.size() % 2 == 0 ? ConversionMode::Nearest : ConversionMode::Dither;
    const auto decoded = quorvel::DecodeBitmap(file, mode);
    if (!decoded.ok()) {
        return;
    }
    const IndexedImage& image = decoded.value();
    const auto encoded = quorvel::EncodeBitmap(image);
    QUORVEL_FUZZ_CHECK(encoded.ok());
    QUORVEL_FUZZ_CHECK(encoded.value().size() ==
                       kBitmapHeadersAndPalette +
                           static_cast<std::uint64_t>(image.width) * image.height);
    for (const ConversionMode again : {ConversionMode::Nearest, ConversionMode::Dither}) {
        const auto redecoded = quorvel::DecodeBitmap(encoded.value(), again);
        QUORVEL_FUZZ_CHECK(redecoded.ok());
        QUORVEL_FUZZ_CHECK(SameImage(redecoded.value(), image));
    }
}

// What a sprite becomes once written as a bitmap and read back.
IndexedImage AsReadBack(std::uint32_t width, std::uint32_t height,
                        const std::vector<std::uint8_t>& pixels) {
    IndexedImage image;
    image.width = (width + 3) / 4 * 4;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(image.width) * height, 0);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t index = pixels[static_cast<std::size_t>(y) * width + x];
            image.pixels[static_cast<std::size_t>(y) * image.width + x] =
                index >= 1 && index <= 10 ? quorvel::kWhiteIndex : index;
        }
    }
    return image;
}

void CheckSpritesAsBitmaps(const SpriteSet& set) {
    std::uint64_t written = 0;
    for (std::uint32_t i = 0; i < set.count; ++i) {
        const IndexedImage sprite{set.widths[i], set.heights[i], set.images[i]};
        if (!sprite.HasArea()) {
            continue;
        }
        written += sprite.pixels.size();
        if (written > kLargestSpritePixelsToWrite) {
            return;
        }
        const auto encoded = quorvel::EncodeBitmap(sprite);
        QUORVEL_FUZZ_CHECK(encoded.ok());
        const auto redecoded = quorvel::DecodeBitmap(encoded.value(), ConversionMode::Nearest);
        QUORVEL_FUZZ_CHECK(redecoded.ok());
        QUORVEL_FUZZ_CHECK(
            SameImage(redecoded.value(), AsReadBack(sprite.width, sprite.height, sprite.pixels)));
    }
}

void CheckSpriteRoundTrip(std::span<const std::uint8_t> file) {
    const auto decoded = quorvel::DecodeSpriteFile(file);
    if (!decoded.ok()) {
        return;
    }
    const SpriteSet& set = decoded.value();
    std::uint64_t pixels = 0;
    for (const auto& image : set.images) {
        pixels += image.size();
    }
    if (pixels > kLargestSetToRoundTrip) {
        return;
    }
    const auto encoded = quorvel::EncodeSpriteFile(set);
    QUORVEL_FUZZ_CHECK(encoded.ok());

    // The writer's layout: the blocks back to back right after the directory, in order.
    const auto layout = quorvel::fuzzing::ReadSpriteLayout(encoded.value());
    QUORVEL_FUZZ_CHECK(layout.has_value());
    QUORVEL_FUZZ_CHECK(layout->entries.size() == set.count);
    std::uint64_t next = 2 + 8 * static_cast<std::uint64_t>(set.count);
    for (const auto& entry : layout->entries) {
        QUORVEL_FUZZ_CHECK(entry.offset == next);
        next += static_cast<std::uint64_t>(entry.width) * entry.height;
    }
    QUORVEL_FUZZ_CHECK(encoded.value().size() == next);

    const auto redecoded = quorvel::DecodeSpriteFile(encoded.value());
    QUORVEL_FUZZ_CHECK(redecoded.ok());
    QUORVEL_FUZZ_CHECK(quorvel::fuzzing::SameSet(redecoded.value(), set));
    const auto reencoded = quorvel::EncodeSpriteFile(redecoded.value());
    QUORVEL_FUZZ_CHECK(reencoded.ok());
    QUORVEL_FUZZ_CHECK(reencoded.value() == encoded.value());

    CheckSpritesAsBitmaps(set);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvel::fuzzing::PrepareProcess();
    const std::span<const std::uint8_t> file(data, size);
    CheckBitmapRoundTrip(file);
    CheckSpriteRoundTrip(file);
    return 0;
}
