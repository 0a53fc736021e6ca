#include "core/worker_threads.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "core/vector_paths.h"

namespace quorvel {

unsigned ThreadsFor(std::uint64_t pixels, std::uint64_t threshold) {
    if (pixels < threshold) {
        return 1;
    }
    return std::min(UsableProcessors(), kMostThreads);
}

void RunOnThreads(unsigned threads, const std::function<void()>& work) {
    std::exception_ptr failure;
    std::mutex failureLock;
    auto guarded = [&] {
        try {
            work();
        } catch (...) {
            const std::lock_guard lock(failureLock);
            if (!failure) {
                failure = std::current_exception();
            }
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back(guarded);
        } catch (const std::system_error&) {
            break;  // the threads already started and this one share the work
        }
    }
    guarded();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void Progress::Publish(std::uint32_t count) {
    // Sequentially consistent, with the sleepers' count: either a thread about to sleep sees
    // the new count, or this sees the sleeper and wakes it.
    done.store(count, std::memory_order_seq_cst);
    if (sleepers_.load(std::memory_order_seq_cst) != 0) {
        const std::lock_guard hold(lock_);
        woken_.notify_all();
    }
}

void Progress::WaitFor(std::uint32_t count) {
    // The piece waited for is usually a few steps away: spin briefly before sleeping.
    constexpr int kSpins = 2048;
    for (int spin = 0; spin < kSpins; ++spin) {
        if (done.load(std::memory_order_acquire) >= count) {
            return;
        }
#if QUORVEL_SSE2
        _mm_pause();
#endif
    }
    std::unique_lock hold(lock_);
    sleepers_.fetch_add(1, std::memory_order_seq_cst);
    woken_.wait(hold, [&] { return done.load(std::memory_order_seq_cst) >= count; });
    sleepers_.fetch_sub(1, std::memory_order_relaxed);
}

}  // namespace quorvel
