#include <algorithm>

#include "png/png_codec.h"

namespace quorvel::png {

bool HasPngSignature(std::span<const std::uint8_t> file) {
    return file.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), file.begin());
}

}  // namespace quorvel::png
