// Decodes any input as a sprite file. A refusal gives a reason; a decoded set holds as many
// sprites as the file's count says, each with width × height pixels, copied from the file at
// the offset its directory entry gives.

#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "sprites/sprite_file.h"

namespace {

std::uint32_t Read(const std::uint8_t* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = value << 8 | at[i];
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvel::fuzzing::PrepareProcess();
    const auto decoded = quorvel::DecodeSpriteFile({data, size});
    if (!decoded.ok()) {
        QUORVEL_FUZZ_CHECK(!decoded.error().empty());
        return 0;
    }
    const quorvel::SpriteSet& set = decoded.value();
    QUORVEL_FUZZ_CHECK(size >= 2 + 8 * std::uint64_t{set.count});
    QUORVEL_FUZZ_CHECK(set.count == Read(data, 2));
    QUORVEL_FUZZ_CHECK(set.widths.size() == set.count && set.heights.size() == set.count &&
                       set.images.size() == set.count);
    for (std::uint32_t i = 0; i < set.count; ++i) {
        const std::uint8_t* entry = data + 2 + 8 * std::size_t{i};
        const std::uint64_t offset = Read(entry, 4);
        const auto& pixels = set.images[i];
        QUORVEL_FUZZ_CHECK(set.widths[i] == Read(entry + 4, 2));
        QUORVEL_FUZZ_CHECK(set.heights[i] == Read(entry + 6, 2));
        QUORVEL_FUZZ_CHECK(pixels.size() == std::uint64_t{set.widths[i]} * set.heights[i]);
        QUORVEL_FUZZ_CHECK(pixels.empty() ||
                           (offset <= size && pixels.size() <= size - offset &&
                            std::equal(pixels.begin(), pixels.end(), data + offset)));
    }
    return 0;
}
