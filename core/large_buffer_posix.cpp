#include <sys/mman.h>

#include "core/large_buffer.h"

namespace quorvel {

void ResizeLargeBuffer(std::vector<std::uint8_t>& buffer, std::size_t size) {
#if defined(MADV_HUGEPAGE)
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (size >= 2 * kHugePage && size > buffer.capacity()) {
        buffer.reserve(size);
        // Only whole huge pages inside the allocation can be backed so; the ends keep small
        // pages. The new pages are not touched yet, so the advice applies to all of them.
        const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data()) + buffer.size();
        const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(buffer.data()) + size;
        const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
        const std::uintptr_t last = end & ~(kHugePage - 1);
        if (last > first) {
            // Advice only: a failure leaves ordinary pages, which work the same.
            ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
        }
    }
#endif
    buffer.resize(size);
}

}  // namespace quorvel
