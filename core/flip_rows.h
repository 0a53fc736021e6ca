#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel {

// Copies rowCount rows of rowLength bytes with their order reversed: destination row k
// receives source row (rowCount - 1 - k). Turns bitmap row order (bottom to top) into image
// order (top to bottom) and back. The buffers must not overlap.
void FlipRows(const std::uint8_t* source, std::uint8_t* destination, std::size_t rowLength,
              std::size_t rowCount);

}  // namespace quorvel
