#include "core/colour_cells.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/channel_tables.h"
#include "core/game_palette.h"

namespace quorvel::detail {

ColourCells colourCells;

namespace {

// The candidates of the search in the order it visits them: 0, 1, then 11-241.
constexpr std::size_t kCandidateCount = 233;
constexpr std::array<std::uint8_t, kCandidateCount> kCandidates = [] {
    std::array<std::uint8_t, kCandidateCount> c{};
    c[0] = 0;
    c[1] = 1;
    for (std::size_t i = 2; i < c.size(); ++i) {
        c[i] = static_cast<std::uint8_t>(i + 9);
    }
    return c;
}();

// A box of colours: inclusive ranges of red, green and blue.
struct Box {
    std::int32_t low[3];
    std::int32_t high[3];
};

constexpr std::uint32_t kWeightSquared[3] = {1296, 3481, 121};

// A short list of candidates, in search order.
struct Winners {
    std::array<std::uint8_t, kCandidateCount> items;
    std::size_t size = 0;
};

// Collects, in their order, those of `candidates` that are nearest to at least one colour of
// the box. The distance is a sum of one term per channel, so over a box its smallest and
// largest values are sums of per-channel extremes. Every colour of the box is at most
// `bound` (the least of the candidates' largest distances) from some candidate; a candidate
// whose smallest distance exceeds it is strictly beaten everywhere in the box and can be
// dropped without changing any result, ties included. Applied to a box inside a larger one
// whose list was made this way, it gives the same list as from all candidates, since the
// candidate that set the larger box's bound is still in that list.
Winners PossibleWinners(const std::uint8_t* candidates, std::size_t count, const Box& box) {
    const ChannelTables& t = GetChannelTables();
    const std::array<const std::int32_t*, 3> component = {t.red.data(), t.green.data(),
                                                          t.blue.data()};
    std::array<std::uint32_t, kCandidateCount> closest;
    std::uint32_t bound = 0xFFFFFFFFu;
    for (std::size_t k = 0; k < count; ++k) {
        std::uint32_t nearSum = 0;
        std::uint32_t farSum = 0;
        for (int c = 0; c < 3; ++c) {
            const std::int32_t v = component[c][candidates[k]];
            const std::int32_t nearD = std::max({box.low[c] - v, 0, v - box.high[c]});
            const std::int32_t farD = std::max(v - box.low[c], box.high[c] - v);
            nearSum += kWeightSquared[c] * static_cast<std::uint32_t>(nearD * nearD);
            farSum += kWeightSquared[c] * static_cast<std::uint32_t>(farD * farD);
        }
        closest[k] = nearSum;
        bound = std::min(bound, farSum);
    }
    Winners winners;
    for (std::size_t k = 0; k < count; ++k) {
        if (closest[k] <= bound) {
            winners.items[winners.size++] = candidates[k];
        }
    }
    return winners;
}

// Two coarser levels make preparing a cell cheap even when an image touches all of them:
// superblocks (32 red × 16 green × 64 blue, about 21 possible winners each) are chosen from
// all candidates, blocks (16 × 8 × 32, about 7) from their superblock's list, and cells
// from their block's list.
struct Level {
    int shift[3];
    // Per region: 0 until prepared, then where its list starts in `lists` << 8 | its length.
    std::vector<std::uint32_t> words;
    std::vector<std::uint8_t> lists;

    std::size_t RegionOf(const std::int32_t colour[3]) const {
        const auto r = static_cast<std::size_t>(colour[0] >> shift[0]);
        const auto g = static_cast<std::size_t>(colour[1] >> shift[1]);
        const auto b = static_cast<std::size_t>(colour[2] >> shift[2]);
        return (r << (8 - shift[1]) | g) << (8 - shift[2]) | b;
    }
    Box BoxOf(const std::int32_t colour[3]) const {
        Box box;
        for (int c = 0; c < 3; ++c) {
            box.low[c] = colour[c] >> shift[c] << shift[c];
            box.high[c] = box.low[c] + (1 << shift[c]) - 1;
        }
        return box;
    }
    // The list of the region holding `colour`, chosen from `parent` when first asked for.
    const std::uint8_t* List(const std::int32_t colour[3], const std::uint8_t* parent,
                             std::size_t parentLength, std::size_t& length) {
        if (words.empty()) {
            words.assign(std::size_t{1} << (24 - shift[0] - shift[1] - shift[2]), 0);
        }
        std::uint32_t& word = words[RegionOf(colour)];
        if (word == 0) {
            const Winners w = PossibleWinners(parent, parentLength, BoxOf(colour));
            word = static_cast<std::uint32_t>(lists.size() << 8 | w.size);
            lists.insert(lists.end(), w.items.begin(), w.items.begin() + w.size);
        }
        length = word & 0xFF;
        return lists.data() + (word >> 8);
    }
    void Forget() {
        words.clear();
        lists.clear();
    }
};

Level superblocks{{5, 4, 6}, {}, {}};
Level blocks{{4, 3, 5}, {}, {}};

// Finds a list equal to the new one among those made so far, so that cells with the same
// possible winners share one list. Open addressing over list numbers; 0 marks a free slot.
constexpr std::size_t kSlots = 2 * (kMaxLists + 1);
std::array<std::uint16_t, kSlots> slots;
std::uint16_t listCount = 0;
bool anyCellPrepared = false;

std::uint16_t ListNumber(const std::uint32_t* packed, std::size_t length) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t k = 0; k < length; ++k) {
        hash = (hash ^ packed[k]) * 16777619u;
    }
    for (std::size_t slot = hash % kSlots;; slot = (slot + 1) % kSlots) {
        const std::uint16_t number = slots[slot];
        if (number == 0) {
            if (listCount + 1 == kMaxLists) {
                // More distinct lists than the numbers allow (the game palette needs about
                // 5,000): the last number is kept for a list of every candidate, so the
                // answer stays exact, just slower.
                return kMaxLists;
            }
            const std::uint16_t made = ++listCount;
            auto& entries = colourCells.entries;
            colourCells.lists[made] = static_cast<std::uint32_t>(entries.size() << 8 | length);
            entries.insert(entries.end(), packed, packed + length);
            slots[slot] = made;
            return made;
        }
        const std::uint32_t span = colourCells.lists[number];
        if (ListLength(span) == length &&
            std::equal(packed, packed + length, colourCells.entries.data() + ListStart(span))) {
            return number;
        }
    }
}

void PrepareOnce() {
    const ChannelTables& t = GetChannelTables();
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        colourCells.palette[i] =
            static_cast<std::uint32_t>(i) << 24 | static_cast<std::uint32_t>(t.red[i]) << 16 |
            static_cast<std::uint32_t>(t.green[i]) << 8 | static_cast<std::uint32_t>(t.blue[i]);
    }
    // The list of last resort (see ListNumber); its 233 entries fit the 8-bit length field.
    auto& entries = colourCells.entries;
    colourCells.lists[kMaxLists] =
        static_cast<std::uint32_t>(entries.size() << 8 | kCandidateCount);
    for (const std::uint8_t i : kCandidates) {
        entries.push_back(colourCells.palette[i == 1 ? kWhiteIndex : i]);
    }
    anyCellPrepared = true;
}

}  // namespace

std::uint16_t PrepareCell(std::uint32_t cell) {
    if (!anyCellPrepared) {
        PrepareOnce();
    }
    // The lowest colour of the cell.
    constexpr int kGreenBlueBits = 16 - kCellGreenShift - kCellBlueShift;
    constexpr int kBlueBits = 8 - kCellBlueShift;
    const std::int32_t colour[3] = {
        static_cast<std::int32_t>(cell >> kGreenBlueBits << kCellRedShift),
        static_cast<std::int32_t>((cell >> kBlueBits & ((1u << (8 - kCellGreenShift)) - 1))
                                  << kCellGreenShift),
        static_cast<std::int32_t>((cell & ((1u << kBlueBits) - 1)) << kCellBlueShift)};

    std::size_t superLength = 0;
    const std::uint8_t* superList =
        superblocks.List(colour, kCandidates.data(), kCandidates.size(), superLength);
    std::size_t blockLength = 0;
    const std::uint8_t* blockList = blocks.List(colour, superList, superLength, blockLength);

    Box box;
    for (int c = 0; c < 3; ++c) {
        const int shift = c == 0 ? kCellRedShift : c == 1 ? kCellGreenShift : kCellBlueShift;
        box.low[c] = colour[c];
        box.high[c] = colour[c] + (1 << shift) - 1;
    }
    const Winners winners = PossibleWinners(blockList, blockLength, box);

    // Entry 1 is reported as 242, the same white.
    std::array<std::uint32_t, kCandidateCount> packed;
    for (std::size_t k = 0; k < winners.size; ++k) {
        const std::uint8_t i = winners.items[k];
        packed[k] = colourCells.palette[i == 1 ? kWhiteIndex : i];
    }
    const std::uint16_t word =
        winners.size == 1 ? static_cast<std::uint16_t>(kSingleWinner | PackedIndex(packed[0]))
                          : ListNumber(packed.data(), winners.size);
    colourCells.words[cell] = word;
    return word;
}

void ForgetPreparedCells() {
    if (!anyCellPrepared) {
        return;  // leaves the untouched tables untouched
    }
    std::memset(colourCells.words, 0, sizeof colourCells.words);
    colourCells.entries.clear();
    superblocks.Forget();
    blocks.Forget();
    slots.fill(0);
    listCount = 0;
    anyCellPrepared = false;
}

}  // namespace quorvel::detail
