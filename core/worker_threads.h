#pragma once
// Work shared among threads of the standard library. The work is a loop that claims pieces
// (rows, bands of rows) from a shared counter until none are left, so it is correct with any
// number of threads that actually start, the calling thread alone included.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace quorvel {

// At most this many threads work on one picture.
inline constexpr unsigned kMostThreads = 8;

// The processors this process may run on (its affinity, not just the machine's count), at
// least 1. Asked of the system once.
unsigned UsableProcessors();

// The threads a picture of `pixels` pixels is worth: 1 below `threshold`, otherwise the usable
// processors up to kMostThreads.
unsigned ThreadsFor(std::uint64_t pixels, std::uint64_t threshold);

// Runs `work` on the calling thread and on up to `threads` - 1 others, and returns once all
// have returned. The others are kept from call to call; one the system will not start, or one
// busy with other work, is simply not there to help. The first exception any of them throws
// is thrown again here.
void RunOnThreads(unsigned threads, const std::function<void()>& work);

// The count of a piece's finished steps, published by the thread that works on it and read
// by a thread that needs some of them done; a cache line of its own, so that counters written
// by different threads never share one. A thread that has waited a while sleeps on the
// condition variable (std::atomic's own wait is not used: on Windows the standard library of
// this compiler can lose its wake-ups).
struct alignas(64) Progress {
    std::atomic<std::uint32_t> done{0};

    // Publishes `count` steps as finished: everything written before is seen by whoever then
    // sees the count.
    void Publish(std::uint32_t count);
    // Returns once at least `count` steps are finished, having seen what was written before.
    void WaitFor(std::uint32_t count);

  private:
    std::atomic<std::uint32_t> sleepers_{0};
    // The least count a sleeper waits for: a publisher wakes them only from there on, not at
    // every step (each wake is a system call on the publisher's side).
    std::atomic<std::uint32_t> wakeAt_{UINT32_MAX};
    std::mutex lock_;
    std::condition_variable woken_;
};

}  // namespace quorvel
