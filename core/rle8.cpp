#include "core/rle8.h"

#include <cstring>

namespace quorvel {

Status ExpandRle8(std::span<const std::uint8_t> codes, std::uint32_t width, std::uint32_t height,
                  std::span<std::uint8_t> rows, std::size_t stride) {
    const Failure pastEdge{"its compressed pixels run past the edge of the image"};
    // Codes may fill a row up to its padded width: some writers encode the whole stored row,
    // padding included (for width 37, a run over columns 37-39 before each end of row).
    const std::uint64_t paddedWidth = (std::uint64_t{width} + 3) / 4 * 4;
    std::size_t at = 0;
    std::uint64_t x = 0;
    std::uint64_t y = 0;  // counted from the bottom row, as the codes run

    // Where pixel x of row y goes, once `count` pixels are known to fit.
    auto target = [&](std::uint64_t count) -> std::uint8_t* {
        if (y >= height || x + count > paddedWidth) {
            return nullptr;
        }
        return rows.data() + static_cast<std::size_t>(height - 1 - y) * stride +
               static_cast<std::size_t>(x);
    };

    while (true) {
        if (codes.size() - at < 2) {
            // Some writers leave out the end-of-bitmap code after the last row.
            if (y >= height) {
                return Success();
            }
            return Failure{"its compressed pixel data ends early"};
        }
        const std::uint8_t first = codes[at];
        const std::uint8_t second = codes[at + 1];
        at += 2;

        if (first != 0) {
            std::uint8_t* out = target(first);
            if (out == nullptr) {
                return pastEdge;
            }
            std::memset(out, second, first);
            x += first;
            continue;
        }
        switch (second) {
            case 0:
                x = 0;
                ++y;
                break;
            case 1:
                return Success();
            case 2: {
                if (codes.size() - at < 2) {
                    return Failure{"its compressed pixel data ends early"};
                }
                x += codes[at];
                y += codes[at + 1];
                at += 2;
                if (x > paddedWidth || y > height) {
                    return pastEdge;
                }
                break;
            }
            default: {
                const std::size_t count = second;
                if (codes.size() - at < count) {
                    return Failure{"its compressed pixel data ends early"};
                }
                std::uint8_t* out = target(count);
                if (out == nullptr) {
                    return pastEdge;
                }
                std::memcpy(out, codes.data() + at, count);
                x += count;
                // Literal runs keep the codes aligned to 2 bytes.
                at += count + (count & 1);
                if (at > codes.size()) {
                    at = codes.size();
                }
                break;
            }
        }
    }
}

}  // namespace quorvel
