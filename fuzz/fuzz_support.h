#pragma once
// What every fuzz target shares: the entry point, a check that aborts loudly when a promise of
// the readers is broken, and a glance at bitmap headers.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "core/bitmap_headers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace quorvel::fuzzing {

// RLE8 bitmaps may state images far larger than their bytes; converting one starves the search
// for faults, so the targets pass over those stating more than 2^18 pixels.
inline bool StatesLargeCompressedImage(std::span<const std::uint8_t> file) {
    const Result<BitmapLayout> layout = ReadBitmapLayout(file);
    return layout && layout.value().encoding == PixelEncoding::Rle8 &&
           std::uint64_t{layout.value().width} * layout.value().height > (1u << 18);
}

}  // namespace quorvel::fuzzing

#define QUORVEL_FUZZ_CHECK(condition)                                                          \
    ((condition)                                                                               \
         ? static_cast<void>(0)                                                                \
         : (std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition), \
            std::abort()))
