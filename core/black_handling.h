#pragma once

#include <cstdint>

namespace quorvel {

// What a reduction writes for an opaque pixel whose search chose index 0. Entry 0 is black,
// but the game draws it as transparent, so black outlines and shadows vanish there; entry 243
// is the same black and is drawn. Pixels that are transparent in the picture stay 0 either way,
// and so do images taken over index for index, where no search chose anything.
enum class BlackHandling : std::int32_t {
    AsSearched = 0,   // index 0, as the search chose it
    KeepVisible = 1,  // index 243 instead
};

inline constexpr std::uint8_t kVisibleBlackIndex = 243;

// The index written for the search's choice `index`.
template <BlackHandling kBlack>
constexpr std::uint8_t WrittenIndex(std::uint8_t index) {
    if constexpr (kBlack == BlackHandling::KeepVisible) {
        return index == 0 ? kVisibleBlackIndex : index;
    }
    return index;
}

}  // namespace quorvel
