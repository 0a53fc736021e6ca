#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "core/channel_tables.h"

namespace quorvel::fuzzing {

void PrepareProcess() {
    static const bool prepared = [] {
        BuildChannelTables();
        return true;
    }();
    static_cast<void>(prepared);
}

void FailCheck(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

}  // namespace quorvel::fuzzing
