#pragma once
// What makes the colour search fast: colour space cut into cells, each knowing the few
// palette entries that can be nearest to a colour inside it.
//
// A cell spans 4 red × 2 green × 8 blue values. The shape follows the weights of the distance
// (36, 59, 11), so that a cell is about as "wide" along each axis and few cells straddle the
// border between two entries: half of the 262,144 cells have a single possible winner, 98%
// have at most four, none has more than 13. A cell's possible winners are stored in groups of
// four, the last group padded with copies of the first winner (a copy is never strictly
// nearer, so it never wins). A search then computes the four distances of a group and picks
// the first least one without a single branch that depends on the colour: on this machine a
// mispredicted branch costs more than the arithmetic.
//
// Cells with the same winners share their groups: there are only about 5,000 different
// lists, so the groups take some 400 KiB and, with one 16-bit word per cell (512 KiB), stay in
// the processor's second-level cache even when an image touches every cell.
//
// Cells are prepared on first use, so start-up costs nothing and an image pays only for the
// cells its colours fall in.

#include <cstdint>

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

// Four candidates, one cache line: for each, its weighted components (36 × 252 and 59 × 252
// fit 16 bits) followed by a 0, laid out for four-lane arithmetic, and the entry itself,
// packed as index << 24 | red << 16 | green << 8 | blue with the index the search reports
// (242 for entry 1).
struct alignas(64) CandidateGroup {
    std::int16_t weighted[4][4];
    std::uint32_t entries[4];
    std::uint32_t unused[4];
};

constexpr std::uint8_t EntryIndex(std::uint32_t entry) {
    return static_cast<std::uint8_t>(entry >> 24);
}
constexpr std::int32_t EntryRed(std::uint32_t entry) {
    return static_cast<std::int32_t>((entry >> 16) & 0xFF);
}
constexpr std::int32_t EntryGreen(std::uint32_t entry) {
    return static_cast<std::int32_t>((entry >> 8) & 0xFF);
}
constexpr std::int32_t EntryBlue(std::uint32_t entry) {
    return static_cast<std::int32_t>(entry & 0xFF);
}

// A cell's word: its first group << 2 | how many groups follow it (0-3).
// Words below kFirstCellWord are not groups: 0 means the cell is not prepared yet, 1 that
// its possible winners do not fit the groups (never the case with the game palette) and
// the plain scan answers for it.
inline constexpr std::uint16_t kFirstCellWord = 4;
inline constexpr std::uint16_t kScanCell = 1;
inline constexpr std::uint32_t kGroupCapacity = 1u << 14;

struct ColourCells {
    std::uint16_t words[kCellCount];
    // Group 0 is unused: a cell word of 0 has its own meaning.
    CandidateGroup groups[kGroupCapacity];
};

// The calling thread's cells. Threads never share cells, so none waits for another and nothing
// needs a lock: the first thread to search takes cells zero-initialised with the program, every
// other one zeroed cells of its own on its first search, freed when it ends. Untouched parts
// cost neither time nor memory. Throws std::bad_alloc when there is no memory for them.
ColourCells& ThreadCells();

// Prepares the cell in the calling thread's cells and returns its word (never 0).
std::uint16_t PrepareCell(std::uint32_t cell);

// Drops every cell the calling thread has prepared, so that a benchmark or a test starts again
// from none, as a new process does.
void ForgetPreparedCells();

}  // namespace quorvel::detail
