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

namespace {

// Threads kept for the whole process, so that each keeps what it has prepared for the colour
// search from one picture to the next. Made as they are first wanted and never ended: the
// process ends them. One piece of work at a time: a call while another runs (from one of its
// own threads, say) has the calling thread do it alone, which the work allows.
class ThreadPool {
  public:
    static ThreadPool& Get() {
        static ThreadPool* const pool = new ThreadPool;  // never destroyed, as its threads
        return *pool;
    }

    void Run(unsigned helpers, const std::function<void()>& work) {
        {
            const std::lock_guard hold(lock_);
            if (work_ != nullptr) {
                helpers = 0;  // busy: the caller alone
            } else {
                Start(helpers);
            }
            if (helpers > 0) {
                work_ = &work;
                wanted_ = helpers;
                ++generation_;
            }
        }
        if (helpers == 0) {
            work();
            return;
        }
        wake_.notify_all();
        work();
        std::unique_lock hold(lock_);
        wanted_ = 0;  // threads not yet awake stay out
        done_.wait(hold, [&] { return running_ == 0; });
        work_ = nullptr;
    }

  private:
    // Makes threads up to `count`, or as many as the system allows: `count` becomes that.
    void Start(unsigned& count) {
        while (started_ < count) {
            try {
                std::thread(&ThreadPool::Serve, this).detach();
            } catch (const std::system_error&) {
                break;
            }
            ++started_;
        }
        count = std::min(count, started_);
    }

    void Serve() {
        std::uint64_t served = 0;
        std::unique_lock hold(lock_);
        for (;;) {
            wake_.wait(hold, [&] { return generation_ != served && wanted_ > 0; });
            served = generation_;
            --wanted_;
            ++running_;
            const std::function<void()>& work = *work_;
            hold.unlock();
            work();
            hold.lock();
            if (--running_ == 0) {
                done_.notify_all();
            }
        }
    }

    std::mutex lock_;
    std::condition_variable wake_;
    std::condition_variable done_;
    const std::function<void()>* work_ = nullptr;
    unsigned wanted_ = 0;
    unsigned running_ = 0;
    unsigned started_ = 0;
    std::uint64_t generation_ = 0;
};

}  // namespace

void RunOnThreads(unsigned threads, const std::function<void()>& work) {
    std::exception_ptr failure;
    std::mutex failureLock;
    const std::function<void()> guarded = [&] {
        try {
            work();
        } catch (...) {
            const std::lock_guard lock(failureLock);
            if (!failure) {
                failure = std::current_exception();
            }
        }
    };
    ThreadPool::Get().Run(threads > 1 ? threads - 1 : 0, guarded);
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void Progress::Publish(std::uint32_t count) {
    // Sequentially consistent, with the sleepers' count and wanted step: either a thread about
    // to sleep sees the new count, or this sees what it waits for and wakes it.
    done.store(count, std::memory_order_seq_cst);
    if (sleepers_.load(std::memory_order_seq_cst) != 0 &&
        count >= wakeAt_.load(std::memory_order_seq_cst)) {
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
    if (count < wakeAt_.load(std::memory_order_relaxed)) {
        wakeAt_.store(count, std::memory_order_seq_cst);
    }
    woken_.wait(hold, [&] { return done.load(std::memory_order_seq_cst) >= count; });
    // The last sleeper out lets publishers stop waking; with others still asleep the least
    // wanted step stays, which at worst wakes them early.
    if (sleepers_.fetch_sub(1, std::memory_order_relaxed) == 1) {
        wakeAt_.store(UINT32_MAX, std::memory_order_relaxed);
    }
}

}  // namespace quorvel
