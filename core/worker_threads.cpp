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
    done.store(count, std::memory_order_release);
    done.notify_all();
}

void Progress::WaitFor(std::uint32_t count) const {
    // The piece waited for is usually a few steps away: spin briefly before sleeping.
    constexpr int kSpins = 256;
    for (int spin = 0; spin < kSpins; ++spin) {
        if (done.load(std::memory_order_acquire) >= count) {
            return;
        }
#if QUORVEL_SSE2
        _mm_pause();
#endif
    }
    for (std::uint32_t seen = done.load(std::memory_order_acquire); seen < count;
         seen = done.load(std::memory_order_acquire)) {
        done.wait(seen, std::memory_order_acquire);
    }
}

}  // namespace quorvel
