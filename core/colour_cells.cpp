#include "core/colour_cells.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "core/channel_tables.h"
#include "core/colour_distance.h"
#include "core/game_palette.h"

namespace quorvel::detail {

namespace {

// A box of colours: inclusive ranges of red, green and blue.
struct Box {
    std::int32_t low[3];
    std::int32_t high[3];
};

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
    // The smallest and largest weighted square of one channel's difference over the box.
    // The smallest and largest term of one channel, of weight w, over the box.
    auto closest = [](std::int32_t v, std::int32_t low, std::int32_t high, std::int32_t w) {
        const std::int32_t d = w * std::max(std::max(low - v, v - high), 0);
        return static_cast<std::uint32_t>(d * d);
    };
    auto farthest = [](std::int32_t v, std::int32_t low, std::int32_t high, std::int32_t w) {
        const std::int32_t d = w * std::max(v - low, high - v);
        return static_cast<std::uint32_t>(d * d);
    };
    std::array<std::uint32_t, kCandidateCount> least;
    std::uint32_t bound = 0xFFFFFFFFu;
    for (std::size_t k = 0; k < count; ++k) {
        const std::int32_t r = t.red[candidates[k]];
        const std::int32_t g = t.green[candidates[k]];
        const std::int32_t b = t.blue[candidates[k]];
        least[k] = closest(r, box.low[0], box.high[0], kRedWeight) +
                   closest(g, box.low[1], box.high[1], kGreenWeight) +
                   closest(b, box.low[2], box.high[2], kBlueWeight);
        bound = std::min(bound, farthest(r, box.low[0], box.high[0], kRedWeight) +
                                    farthest(g, box.low[1], box.high[1], kGreenWeight) +
                                    farthest(b, box.low[2], box.high[2], kBlueWeight));
    }
    Winners winners;
    for (std::size_t k = 0; k < count; ++k) {
        winners.items[winners.size] = candidates[k];
        winners.size += least[k] <= bound ? 1 : 0;
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

// A list of possible winners with the word of the groups that hold it.
struct SharedList {
    std::uint64_t key[2];  // the list's indexes, then its length in the last byte
    std::uint16_t word;
};
constexpr std::size_t kSlots = 2 * kGroupCapacity;

// The zero-initialised cells the first searching thread takes.
ColourCells firstCells;
std::atomic<bool> firstCellsTaken{false};

// One thread's cells and what preparing them keeps: the coarser levels, and the groups handed
// out so far with the lists they hold, so that cells with the same possible winners share one
// set of groups (open addressing from a hash of the list to the number of a record; 0 marks a
// free slot).
struct ThreadTable {
    ColourCells* cells = nullptr;
    void* allocation = nullptr;  // the cells' own memory, unless they are firstCells
    Level superblocks{{5, 4, 6}, {}, {}};
    Level blocks{{4, 3, 5}, {}, {}};
    std::vector<SharedList> sharedLists;
    std::vector<std::uint16_t> slots;
    std::uint32_t nextGroup = 1;
    bool anyCellPrepared = false;

    ThreadTable() = default;
    ThreadTable(const ThreadTable&) = delete;
    ThreadTable& operator=(const ThreadTable&) = delete;
    ~ThreadTable() { std::free(allocation); }
};

thread_local ThreadTable table;

void PrepareOnce(ThreadTable& t) {
    t.sharedLists.assign(1, SharedList{});  // record 0 stands for a free slot
    t.slots.assign(kSlots, 0);
    t.anyCellPrepared = true;
}

// Puts palette entry i in place k of a group.
void PlaceCandidate(CandidateGroup& group, std::size_t k, std::uint8_t i) {
    const ChannelTables& t = GetChannelTables();
    group.weighted[k][0] = static_cast<std::int16_t>(kRedWeight * t.red[i]);
    group.weighted[k][1] = static_cast<std::int16_t>(kGreenWeight * t.green[i]);
    group.weighted[k][2] = static_cast<std::int16_t>(kBlueWeight * t.blue[i]);
    group.weighted[k][3] = 0;
    // Entry 1 is reported as 242, the same white.
    const std::uint32_t index = i == 1 ? kWhiteIndex : i;
    group.entries[k] = index << 24 | static_cast<std::uint32_t>(t.red[i]) << 16 |
                       static_cast<std::uint32_t>(t.green[i]) << 8 |
                       static_cast<std::uint32_t>(t.blue[i]);
}

// The word of a cell with these possible winners: the groups of an equal list made before, or
// new groups.
std::uint16_t SharedWord(ThreadTable& t, const Winners& winners) {
    const std::size_t groupCount = (winners.size + 3) / 4;
    if (winners.size > 15) {
        return kScanCell;  // longer than a key holds, and than the game palette ever needs
    }
    std::uint64_t key[2] = {0, static_cast<std::uint64_t>(winners.size) << 56};
    for (std::size_t k = 0; k < winners.size; ++k) {
        key[k / 8] |= static_cast<std::uint64_t>(winners.items[k]) << (8 * (k % 8));
    }
    const std::uint64_t hash = (key[0] * 0x9E3779B97F4A7C15u ^ key[1]) * 0xC2B2AE3D27D4EB4Fu;
    std::size_t slot = static_cast<std::size_t>(hash >> 32) % kSlots;
    for (; t.slots[slot] != 0; slot = (slot + 1) % kSlots) {
        const SharedList& list = t.sharedLists[t.slots[slot]];
        if (list.key[0] == key[0] && list.key[1] == key[1]) {
            return list.word;
        }
    }
    if (t.nextGroup + groupCount > kGroupCapacity) {
        return kScanCell;  // the slots cannot fill up before the groups do
    }
    const auto word = static_cast<std::uint16_t>(t.nextGroup << 2 | (groupCount - 1));
    for (std::size_t k = 0; k < 4 * groupCount; ++k) {
        PlaceCandidate(t.cells->groups[t.nextGroup + k / 4], k % 4,
                       winners.items[k < winners.size ? k : 0]);
    }
    t.nextGroup += static_cast<std::uint32_t>(groupCount);
    t.slots[slot] = static_cast<std::uint16_t>(t.sharedLists.size());
    t.sharedLists.push_back({{key[0], key[1]}, word});
    return word;
}

}  // namespace

ColourCells& ThreadCells() {
    if (table.cells == nullptr) {
        if (!firstCellsTaken.exchange(true)) {
            table.cells = &firstCells;
        } else {
            // Zeroed pages cost nothing until touched; the groups want a 64-byte boundary.
            constexpr std::size_t kAlign = alignof(ColourCells);
            table.allocation = std::calloc(1, sizeof(ColourCells) + kAlign);
            if (table.allocation == nullptr) {
                throw std::bad_alloc();
            }
            const auto at = reinterpret_cast<std::uintptr_t>(table.allocation);
            table.cells = reinterpret_cast<ColourCells*>((at + kAlign - 1) & ~(kAlign - 1));
        }
    }
    return *table.cells;
}

std::uint16_t PrepareCell(std::uint32_t cell) {
    ColourCells& cells = ThreadCells();
    ThreadTable& t = table;
    if (!t.anyCellPrepared) {
        PrepareOnce(t);
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
        t.superblocks.List(colour, kSearchOrder.data(), kSearchOrder.size(), superLength);
    std::size_t blockLength = 0;
    const std::uint8_t* blockList = t.blocks.List(colour, superList, superLength, blockLength);

    const int shift[3] = {kCellRedShift, kCellGreenShift, kCellBlueShift};
    Box box;
    for (int c = 0; c < 3; ++c) {
        box.low[c] = colour[c];
        box.high[c] = colour[c] + (1 << shift[c]) - 1;
    }
    const std::uint16_t word = SharedWord(t, PossibleWinners(blockList, blockLength, box));
    cells.words[cell] = word;
    return word;
}

void ForgetPreparedCells() {
    if (!table.anyCellPrepared) {
        return;  // leaves the untouched tables untouched
    }
    std::memset(table.cells->words, 0, sizeof table.cells->words);
    table.superblocks.Forget();
    table.blocks.Forget();
    table.sharedLists.clear();
    table.slots.clear();
    table.nextGroup = 1;
    table.anyCellPrepared = false;
}

}  // namespace quorvel::detail
