#pragma once
// How the reductions share a picture among threads: how many threads a picture is worth, and
// its rows in pieces for the nearest-colour reduction, whose rows are independent.

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "core/colour_reduction.h"
#include "core/worker_threads.h"

namespace quorvel::detail {

// Below these many pixels a picture is reduced on one thread: starting threads and handing
// out pieces would cost more than they save (bench/reduction_bench.cpp, BM_*Threads).
inline constexpr std::uint64_t kNearestThreadsFrom = 1024 * 1024;
inline constexpr std::uint64_t kDitherThreadsFrom = 512 * 512;

// The threads to use for `rows`: `requested` as it is, or chosen by size for kThreadsBySize.
template <typename Rows>
unsigned ReductionThreads(const Rows& rows, unsigned requested, std::uint64_t threshold) {
    if (requested != kThreadsBySize) {
        return requested;
    }
    return ThreadsFor(std::uint64_t{rows.width} * rows.height, threshold);
}

// Calls `reduce(first, end)` for pieces of rows that together cover them all, on the threads
// the picture is worth.
template <typename Rows, typename Reduce>
void ForEachRowPiece(const Rows& rows, unsigned requested, Reduce reduce) {
    if constexpr (requires { rows.arriving; }) {
        if (ArrivingRows* arriving = rows.arriving) {
            // Each batch as soon as it is there, its slots handed back right after.
            for (std::uint32_t y = 0; y < rows.height; y += ArrivingRows::kBatchRows) {
                const std::uint32_t end = std::min(rows.height, y + ArrivingRows::kBatchRows);
                if (!arriving->WaitForRows(end)) {
                    return;
                }
                reduce(y, end);
                arriving->released.Publish(end);
            }
            return;
        }
    }
    const unsigned threads = ReductionThreads(rows, requested, kNearestThreadsFrom);
    if (threads <= 1 || rows.height <= 1) {
        reduce(0u, rows.height);
        return;
    }
    // Some pieces a thread, so that a thread slowed by others on its processor does not hold
    // up the end.
    const std::uint32_t piece = std::max<std::uint32_t>(1, rows.height / (8 * threads));
    std::atomic<std::uint32_t> next{0};
    RunOnThreads(threads, [&] {
        for (std::uint32_t first = next.fetch_add(piece, std::memory_order_relaxed);
             first < rows.height; first = next.fetch_add(piece, std::memory_order_relaxed)) {
            reduce(first, std::min(rows.height, first + piece));
        }
    });
}

}  // namespace quorvel::detail
