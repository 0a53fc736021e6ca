#include <sched.h>

#include <thread>

#include "core/worker_threads.h"

namespace quorvel {

unsigned UsableProcessors() {
    // `taskset` and container limits narrow the affinity below the machine's processors, which
    // is all std::thread::hardware_concurrency reports.
    static const unsigned count = [] {
#if defined(CPU_COUNT)
        cpu_set_t set;
        CPU_ZERO(&set);
        if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
            return static_cast<unsigned>(CPU_COUNT(&set));
        }
#endif
        const unsigned machine = std::thread::hardware_concurrency();
        return machine > 0 ? machine : 1u;
    }();
    return count;
}

}  // namespace quorvel
