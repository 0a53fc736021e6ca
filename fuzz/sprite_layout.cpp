#include "fuzz/sprite_layout.h"

#include <algorithm>

namespace quorvel::fuzzing {

namespace {

std::uint32_t ReadLittleEndian(std::span<const std::uint8_t> file, std::size_t at,
                               std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint32_t>(file[at + i]) << (8 * i);
    }
    return value;
}

}  // namespace

std::optional<SpriteLayout> ReadSpriteLayout(std::span<const std::uint8_t> file) {
    if (file.size() < 2) {
        return std::nullopt;
    }
    const std::uint32_t count = ReadLittleEndian(file, 0, 2);
    if (file.size() < 2 + 8 * static_cast<std::uint64_t>(count)) {
        return std::nullopt;
    }
    SpriteLayout layout;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = 2 + 8 * static_cast<std::size_t>(i);
        const SpriteEntry entry{ReadLittleEndian(file, at, 4), ReadLittleEndian(file, at + 4, 2),
                                ReadLittleEndian(file, at + 6, 2)};
        const std::uint64_t length = static_cast<std::uint64_t>(entry.width) * entry.height;
        if (length != 0 && (entry.offset > file.size() || length > file.size() - entry.offset)) {
            return std::nullopt;
        }
        layout.entries.push_back(entry);
        layout.totalPixels += length;
    }
    return layout;
}

bool MatchesLayout(const SpriteSet& set, const SpriteLayout& layout,
                   std::span<const std::uint8_t> file) {
    if (!IsConsistent(set) || set.count != layout.entries.size()) {
        return false;
    }
    for (std::uint32_t i = 0; i < set.count; ++i) {
        const SpriteEntry& entry = layout.entries[i];
        if (set.widths[i] != entry.width || set.heights[i] != entry.height) {
            return false;
        }
        const std::vector<std::uint8_t>& pixels = set.images[i];
        if (!pixels.empty() &&
            !std::equal(pixels.begin(), pixels.end(),
                        file.begin() + static_cast<std::ptrdiff_t>(entry.offset))) {
            return false;
        }
    }
    return true;
}

bool SameSet(const SpriteSet& a, const SpriteSet& b) {
    return a.count == b.count && a.widths == b.widths && a.heights == b.heights &&
           a.images == b.images;
}

bool IsConsistent(const SpriteSet& set) {
    if (set.widths.size() != set.count || set.heights.size() != set.count ||
        set.images.size() != set.count) {
        return false;
    }
    for (std::uint32_t i = 0; i < set.count; ++i) {
        if (set.images[i].size() != static_cast<std::uint64_t>(set.widths[i]) * set.heights[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace quorvel::fuzzing
