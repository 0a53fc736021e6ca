#include "core/large_buffer.h"

namespace quorvel {

// Large pages on Windows need a privilege ordinary users lack, so the buffer keeps the
// system's ordinary pages.
void ResizeLargeBuffer(std::vector<std::uint8_t>& buffer, std::size_t size) {
    buffer.resize(size);
}

}  // namespace quorvel
