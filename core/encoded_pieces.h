#pragma once
// A file as an encoder describes it without copying what it encodes: the bytes the encoder
// makes itself (headers, a directory), then pieces of the image or sprites it was given, in
// file order. Writing a large image this way takes no buffer as large as the file: on the
// virtual machines this runs on, filling a fresh 16 MiB buffer costs more than writing it.
// The pieces point into the encoded object, which must outlive them.

#include <cstdint>
#include <span>
#include <vector>

#include "core/result.h"

namespace quorvel {

struct EncodedPieces {
    std::vector<std::uint8_t> head;
    std::vector<std::span<const std::uint8_t>> pieces;

    // All of it in one buffer, for callers that keep the file in memory.
    std::vector<std::uint8_t> Joined() const;
};

// The file of `encoded` in one buffer: its failure as it is, or `noMemory` when the buffer
// cannot be had.
Result<std::vector<std::uint8_t>> JoinedFile(const Result<EncodedPieces>& encoded,
                                             const char* noMemory);

// Zero bytes for padding pieces of up to 16 bytes.
std::span<const std::uint8_t> ZeroBytes(std::size_t count);

}  // namespace quorvel
