#pragma once
// Large PNG pictures reduced while they are decoded: the decoder on the calling thread, the
// reduction on another, the rows passing between them through a ring of about a megabyte
// instead of the whole picture decoded first.

#include <cstdint>
#include <optional>
#include <span>

#include "core/black_handling.h"
#include "core/colour_reduction.h"
#include "core/conversion_mode.h"
#include "core/indexed_image.h"
#include "core/result.h"

namespace quorvel {

// `file` reduced as ConvertPngPicture reduces its decoded RGBA rows, byte for byte. Nothing
// when the picture is not decoded through RGBA rows or not row by row, or when no thread
// starts: the caller then decodes it whole. With `threads` left to the size, also nothing for
// a picture too small to be worth a second thread, or where this process may use only one
// processor; 2 or more always overlap. May throw std::bad_alloc.
std::optional<Result<IndexedImage>> ReduceWhileDecoding(std::span<const std::uint8_t> file,
                                                        ConversionMode mode, BlackHandling black,
                                                        unsigned threads = kThreadsBySize);

}  // namespace quorvel
