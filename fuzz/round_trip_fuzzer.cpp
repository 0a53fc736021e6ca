// Whatever decodes, encoded and decoded again, gives back what was decoded: any input read as a
// bitmap (the mode chosen by its length) and written in the game palette; any input read as a
// sprite file and written again; and each sprite of such a set written as a bitmap, which
// reads back with indexes 1 to 10 as 242 and rows padded with 0, an empty one at its own size.

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "core/game_palette.h"
#include "fuzz/fuzz_support.h"
#include "sprites/sprite_file.h"

namespace {

using quorvel::IndexedImage;

void CheckReadsBackAs(const IndexedImage& written, const IndexedImage& expected) {
    const auto encoded = quorvel::EncodeBitmap(written);
    QUORVEL_FUZZ_CHECK(encoded && encoded.value().size() == 1078 + expected.pixels.size());
    const auto back = quorvel::DecodeBitmap(encoded.value(), quorvel::ConversionMode::Dither);
    QUORVEL_FUZZ_CHECK(back && back.value().width == expected.width &&
                       back.value().height == expected.height &&
                       back.value().pixels == expected.pixels);
}

void CheckSpriteRoundTrip(std::span<const std::uint8_t> file) {
    const auto decoded = quorvel::DecodeSpriteFile(file);
    if (!decoded) {
        return;
    }
    const quorvel::SpriteSet& set = decoded.value();
    std::uint64_t pixels = 0;
    for (const auto& image : set.images) {
        pixels += image.size();
    }
    if (pixels > (1u << 20)) {  // small files can state hundreds of MiB of overlapping sprites
        return;
    }
    const auto encoded = quorvel::EncodeSpriteFile(set);
    QUORVEL_FUZZ_CHECK(encoded &&
                       encoded.value().size() == 2 + 8 * std::uint64_t{set.count} + pixels);
    const auto back = quorvel::DecodeSpriteFile(encoded.value());
    QUORVEL_FUZZ_CHECK(back && back.value().count == set.count &&
                       back.value().widths == set.widths && back.value().heights == set.heights &&
                       back.value().images == set.images);
    for (std::uint32_t i = 0; i < set.count; ++i) {
        const IndexedImage sprite{set.widths[i], set.heights[i], set.images[i]};
        // An empty sprite has no rows to pad, so it reads back at its own size.
        IndexedImage expected{
            sprite.height == 0 ? sprite.width : (sprite.width + 3) / 4 * 4, sprite.height, {}};
        expected.pixels.resize(std::size_t{expected.width} * sprite.height);
        for (std::size_t at = 0; at < sprite.pixels.size(); ++at) {
            const std::uint8_t index = sprite.pixels[at];
            expected.pixels[at / sprite.width * expected.width + at % sprite.width] =
                index >= 1 && index <= 10 ? quorvel::kWhiteIndex : index;
        }
        CheckReadsBackAs(sprite, expected);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    if (!quorvel::fuzzing::StatesLargeCompressedImage(file)) {
        const auto decoded = quorvel::DecodeBitmap(
            file, size % 2 ? quorvel::ConversionMode::Dither : quorvel::ConversionMode::Nearest);
        if (decoded) {
            CheckReadsBackAs(decoded.value(), decoded.value());
        }
    }
    CheckSpriteRoundTrip(file);
    return 0;
}
