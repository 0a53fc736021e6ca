// Decodes any input as a sprite file and compares the result with a plain reading of the
// format: a file the plain reading accepts must give exactly its sprites, a file it refuses
// must be refused with a reason. The decoder may refuse a file whose sprites, overlapping,
// add up to more pixels than the file holds (its cap on what one file may make it allocate),
// never one whose blocks fit in the file side by side.

#include "fuzz/fuzz_support.h"
#include "fuzz/sprite_layout.h"
#include "sprites/sprite_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvel::fuzzing::PrepareProcess();
    const std::span<const std::uint8_t> file(data, size);

    const auto layout = quorvel::fuzzing::ReadSpriteLayout(file);
    const auto decoded = quorvel::DecodeSpriteFile(file);
    if (!decoded.ok()) {
        QUORVEL_FUZZ_CHECK(!decoded.error().empty());
        QUORVEL_FUZZ_CHECK(!layout.has_value() || layout->totalPixels > file.size());
        return 0;
    }
    QUORVEL_FUZZ_CHECK(layout.has_value());
    QUORVEL_FUZZ_CHECK(quorvel::fuzzing::MatchesLayout(decoded.value(), *layout, file));
    return 0;
}
