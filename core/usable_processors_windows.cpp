#include <windows.h>

#include <bit>

#include "core/worker_threads.h"

namespace quorvel {

unsigned UsableProcessors() {
    // The process's affinity within its processor group, which `start /affinity` narrows.
    static const unsigned count = [] {
        DWORD_PTR process = 0, system = 0;
        if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) && process != 0) {
            return static_cast<unsigned>(std::popcount(static_cast<std::uint64_t>(process)));
        }
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return info.dwNumberOfProcessors > 0 ? static_cast<unsigned>(info.dwNumberOfProcessors)
                                             : 1u;
    }();
    return count;
}

}  // namespace quorvel
