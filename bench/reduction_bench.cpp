// Both reductions on synthetic images of several sizes. Each conversion starts with no
// colour cell prepared, as in a new process, so the preparation is part of the time.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/bench_images.h"
#include "core/colour_cells.h"
#include "core/colour_reduction.h"
#include "core/nearest_index.h"

namespace quorvel {
namespace {

using bench::Content;

constexpr std::int64_t kSmooth = 0;
constexpr std::int64_t kNoise = 1;

const TrueColourRows& Rows(const benchmark::State& state) {
    const Content content = state.range(0) == kSmooth ? Content::Smooth : Content::Noise;
    return bench::TrueColourSource(content, static_cast<std::uint32_t>(state.range(1))).rows;
}

template <IndexedImage (*Reduce)(const TrueColourRows&, BlackHandling, unsigned)>
void BM_TrueColour(benchmark::State& state) {
    const TrueColourRows& rows = Rows(state);
    for (auto _ : state) {
        detail::ForgetPreparedCells();
        benchmark::DoNotOptimize(Reduce(rows, BlackHandling::AsSearched, kThreadsBySize));
    }
    state.SetItemsProcessed(state.iterations() * rows.width * rows.height);
    state.SetLabel(state.range(0) == kSmooth ? "smooth" : "noise");
}

// The nearest reduction as a plain scan per pixel: the baseline the cells replace.
IndexedImage ReduceNearestByScan(const TrueColourRows& rows, BlackHandling, unsigned) {
    IndexedImage image;
    image.width = static_cast<std::uint32_t>(ConvertedWidth(rows.width));
    image.height = rows.height;
    image.pixels.resize(std::size_t{image.width} * rows.height);
    for (std::uint32_t y = 0; y < rows.height; ++y) {
        const std::uint8_t* p = rows.top + static_cast<std::ptrdiff_t>(y) * rows.stride;
        std::uint8_t* out = image.pixels.data() + std::size_t{y} * image.width;
        for (std::uint32_t x = 0; x < rows.width; ++x, p += 3) {
            out[x] = FindNearestIndexByScan(p[2], p[1], p[0]).index;
        }
    }
    return image;
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (const std::int64_t content : {kSmooth, kNoise}) {
        for (const std::int64_t side : {256, 1024, 4096}) {
            b->Args({content, side});
        }
    }
    b->ArgNames({"noise", "side"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_TrueColour<ReduceNearest>)->Name("ReduceNearest")->Apply(Sizes);
BENCHMARK(BM_TrueColour<DiffuseDither>)->Name("DiffuseDither")->Apply(Sizes);
BENCHMARK(BM_TrueColour<ReduceNearestByScan>)
    ->Name("ReduceNearestByScan")
    ->Args({kSmooth, 256})
    ->Args({kNoise, 256})
    ->Args({kSmooth, 1024})
    ->ArgNames({"noise", "side"})
    ->Unit(benchmark::kMillisecond);

template <IndexedImage (*Reduce)(const PalettedRows&, BlackHandling, unsigned)>
void BM_Paletted(benchmark::State& state) {
    const PalettedRows& rows =
        bench::PalettedSource(static_cast<std::uint32_t>(state.range(0))).rows;
    for (auto _ : state) {
        detail::ForgetPreparedCells();
        benchmark::DoNotOptimize(Reduce(rows, BlackHandling::AsSearched, kThreadsBySize));
    }
    state.SetItemsProcessed(state.iterations() * rows.width * rows.height);
}

// One thread against two on small pictures: where two start to pay, with every cell to prepare
// again (a new process) or prepared (the next sprite of a set). The reductions' thresholds
// (core/reduction_threads.h) come from these.
template <IndexedImage (*Reduce)(const TrueColourRows&, BlackHandling, unsigned)>
void BM_Threads(benchmark::State& state) {
    const TrueColourRows& rows =
        bench::TrueColourSource(Content::Smooth, static_cast<std::uint32_t>(state.range(0))).rows;
    const bool fresh = state.range(2) != 0;
    for (auto _ : state) {
        if (fresh) {
            detail::ForgetPreparedCells();
        }
        benchmark::DoNotOptimize(
            Reduce(rows, BlackHandling::AsSearched, static_cast<unsigned>(state.range(1))));
    }
    state.SetItemsProcessed(state.iterations() * rows.width * rows.height);
}

void ThreadSizes(benchmark::internal::Benchmark* b) {
    for (const std::int64_t fresh : {1, 0}) {
        for (const std::int64_t side : {64, 128, 181, 256, 512, 4096}) {
            for (const std::int64_t threads : {1, 2}) {
                b->Args({side, threads, fresh});
            }
        }
    }
    b->ArgNames({"side", "threads", "fresh"})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_Threads<ReduceNearest>)->Name("NearestThreads")->Apply(ThreadSizes);
BENCHMARK(BM_Threads<DiffuseDither>)->Name("DitherThreads")->Apply(ThreadSizes);

BENCHMARK(BM_Paletted<ReduceNearest>)
    ->Name("ReduceNearestPaletted")
    ->Arg(256)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paletted<DiffuseDither>)
    ->Name("DiffuseDitherPaletted")
    ->Arg(256)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel
