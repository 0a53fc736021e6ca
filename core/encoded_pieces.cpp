#include "core/encoded_pieces.h"

#include <array>
#include <cassert>
#include <new>

namespace quorvel {

std::vector<std::uint8_t> EncodedPieces::Joined() const {
    std::size_t size = head.size();
    for (const std::span<const std::uint8_t> piece : pieces) {
        size += piece.size();
    }
    std::vector<std::uint8_t> file;
    file.reserve(size);
    file.insert(file.end(), head.begin(), head.end());
    for (const std::span<const std::uint8_t> piece : pieces) {
        file.insert(file.end(), piece.begin(), piece.end());
    }
    return file;
}

Result<std::vector<std::uint8_t>> JoinedFile(const Result<EncodedPieces>& encoded,
                                             const char* noMemory) {
    if (!encoded) {
        return Failure{encoded.error()};
    }
    try {
        return encoded.value().Joined();
    } catch (const std::bad_alloc&) {
        return Failure{noMemory};
    }
}

std::span<const std::uint8_t> ZeroBytes(std::size_t count) {
    static constexpr std::array<std::uint8_t, 16> kZeros{};
    assert(count <= kZeros.size());
    return {kZeros.data(), count};
}

}  // namespace quorvel
