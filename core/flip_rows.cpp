#include "core/flip_rows.h"

#include <cstring>

namespace quorvel {

void FlipRows(const std::uint8_t* source, std::uint8_t* destination, std::size_t rowLength,
              std::size_t rowCount) {
    if (rowLength == 0) {
        return;
    }
    for (std::size_t k = 0; k < rowCount; ++k) {
        std::memcpy(destination + k * rowLength, source + (rowCount - 1 - k) * rowLength,
                    rowLength);
    }
}

}  // namespace quorvel
