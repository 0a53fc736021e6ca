// Decodes any input as a sprite file. A refusal gives a reason; a decoded set holds as many
// sprites as the file's count says, each with width × height pixels, copied from the file at
// the offset its directory entry gives.

#include <algorithm>

#include "core/little_endian.h"
#include "fuzz/fuzz_support.h"
#include "sprites/sprite_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const auto decoded = quorvel::DecodeSpriteFile(file);
    if (!decoded.ok()) {
        QUORVEL_FUZZ_CHECK(!decoded.error().empty());
        return 0;
    }
    const quorvel::SpriteSet& set = decoded.value();
    QUORVEL_FUZZ_CHECK(size >= 2 + 8 * std::uint64_t{set.count} &&
                       set.count == quorvel::ReadU16(file, 0) && set.widths.size() == set.count &&
                       set.heights.size() == set.count && set.images.size() == set.count);
    for (std::uint32_t i = 0; i < set.count; ++i) {
        const std::size_t entry = 2 + 8 * std::size_t{i};
        const std::uint64_t offset = quorvel::ReadU32(file, entry);
        const auto& pixels = set.images[i];
        QUORVEL_FUZZ_CHECK(set.widths[i] == quorvel::ReadU16(file, entry + 4) &&
                           set.heights[i] == quorvel::ReadU16(file, entry + 6) &&
                           pixels.size() == std::uint64_t{set.widths[i]} * set.heights[i]);
        QUORVEL_FUZZ_CHECK(pixels.empty() ||
                           (offset <= size && pixels.size() <= size - offset &&
                            std::equal(pixels.begin(), pixels.end(), data + offset)));
    }
    return 0;
}
