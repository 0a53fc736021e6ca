#pragma once
// What makes the colour search fast: colour space cut into cells, each knowing which palette
// entries can be nearest to some colour inside it.
//
// A cell spans 4 red × 2 green × 8 blue values. The shape follows the weights of the distance
// (36, 59, 11), so that a cell is about as "wide" along each axis and few cells straddle the
// border between two entries. Half of the 262,144 cells have a single possible winner and
// answer without computing any distance; the others share a few thousand distinct short
// lists (at most 13 entries, mostly 2 or 3). One 16-bit word per cell keeps the whole table
// at 512 KiB, small enough to stay in the processor's second-level cache.
//
// Cells are prepared on first use, so start-up costs nothing and an image pays only for the
// cells its colours fall in. Preparing needs the channel tables to be built.

#include <cstdint>
#include <vector>

namespace quorvel::detail {

inline constexpr int kCellRedShift = 2;    // 4 red values per cell
inline constexpr int kCellGreenShift = 1;  // 2 green values
inline constexpr int kCellBlueShift = 3;   // 8 blue values
inline constexpr std::uint32_t kCellCount =
    1u << (24 - kCellRedShift - kCellGreenShift - kCellBlueShift);

constexpr std::uint32_t CellOf(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return (red >> kCellRedShift) << (16 - kCellGreenShift - kCellBlueShift) |
           (green >> kCellGreenShift) << (8 - kCellBlueShift) | blue >> kCellBlueShift;
}

// A palette entry packed into one word: index << 24 | red << 16 | green << 8 | blue. The index
// is the one the search reports (242 for entry 1).
constexpr std::uint8_t PackedIndex(std::uint32_t e) {
    return static_cast<std::uint8_t>(e >> 24);
}
constexpr std::int32_t PackedRed(std::uint32_t e) {
    return static_cast<std::int32_t>((e >> 16) & 0xFF);
}
constexpr std::int32_t PackedGreen(std::uint32_t e) {
    return static_cast<std::int32_t>((e >> 8) & 0xFF);
}
constexpr std::int32_t PackedBlue(std::uint32_t e) {
    return static_cast<std::int32_t>(e & 0xFF);
}

// A cell's word: 0 while the cell is not prepared; with kSingleWinner set, the low 8 bits are
// the index of the cell's only possible winner; otherwise the number of the cell's list.
inline constexpr std::uint16_t kSingleWinner = 0x8000;
inline constexpr std::uint32_t kMaxLists = 0x7FFF;

// Where a list's packed entries start in `entries` << 8 | how many there are. The entries
// are in the search's candidate order, so the first strictly nearest one is the answer.
constexpr std::uint32_t ListStart(std::uint32_t span) {
    return span >> 8;
}
constexpr std::uint32_t ListLength(std::uint32_t span) {
    return span & 0xFF;
}

struct ColourCells {
    std::uint16_t words[kCellCount];
    std::uint32_t lists[kMaxLists + 1];  // list number -> span in `entries`; 0 unused
    std::uint32_t palette[256];          // every index the search reports, packed
    std::vector<std::uint32_t> entries;
};

// Zero- and constant-initialised, so untouched parts cost neither time nor memory.
extern ColourCells colourCells;

// Prepares the cell and returns its word (never 0).
std::uint16_t PrepareCell(std::uint32_t cell);

// Drops every prepared cell, for when the channel tables they were made from are rebuilt.
void ForgetPreparedCells();

}  // namespace quorvel::detail
