// The colour search alone: the plain scan against the cell-based search, with the cells
// already prepared and with their preparation counted.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "core/colour_cells.h"
#include "core/nearest_index.h"

namespace quorvel {
namespace {

std::vector<std::uint32_t> RandomColours(std::size_t count) {
    std::mt19937 random(42);
    std::vector<std::uint32_t> colours(count);
    for (auto& c : colours) {
        c = random() & 0xFFFFFF;
    }
    return colours;
}

template <NearestMatch (*Search)(std::int32_t, std::int32_t, std::int32_t)>
void SearchAll(const std::vector<std::uint32_t>& colours) {
    for (const std::uint32_t c : colours) {
        benchmark::DoNotOptimize(Search(static_cast<std::int32_t>(c >> 16),
                                        static_cast<std::int32_t>((c >> 8) & 0xFF),
                                        static_cast<std::int32_t>(c & 0xFF)));
    }
}

void BM_ScanRandomColours(benchmark::State& state) {
    const auto colours = RandomColours(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        SearchAll<FindNearestIndexByScan>(colours);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ScanRandomColours)->Arg(1 << 12);

// Cells prepared by the first pass; what an image pays once its colours have been seen.
void BM_SearchRandomColoursWarm(benchmark::State& state) {
    const auto colours = RandomColours(static_cast<std::size_t>(state.range(0)));
    detail::ForgetPreparedCells();
    SearchAll<FindNearestIndex>(colours);
    for (auto _ : state) {
        SearchAll<FindNearestIndex>(colours);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SearchRandomColoursWarm)->Arg(1 << 12)->Arg(1 << 20);

// Every pass starts with no cell prepared, as a new process does.
void BM_SearchRandomColoursCold(benchmark::State& state) {
    const auto colours = RandomColours(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        detail::ForgetPreparedCells();
        SearchAll<FindNearestIndex>(colours);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SearchRandomColoursCold)->Arg(1 << 12)->Arg(1 << 16)->Arg(1 << 20);

// The most any image can cost in preparation: one colour in every cell.
void BM_PrepareEveryCell(benchmark::State& state) {
    for (auto _ : state) {
        detail::ForgetPreparedCells();
        for (std::uint32_t r = 0; r < 256; r += 1 << detail::kCellRedShift) {
            for (std::uint32_t g = 0; g < 256; g += 1 << detail::kCellGreenShift) {
                for (std::uint32_t b = 0; b < 256; b += 1 << detail::kCellBlueShift) {
                    benchmark::DoNotOptimize(FindNearestIndex(static_cast<std::int32_t>(r),
                                                              static_cast<std::int32_t>(g),
                                                              static_cast<std::int32_t>(b)));
                }
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * detail::kCellCount);
}
BENCHMARK(BM_PrepareEveryCell)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel
