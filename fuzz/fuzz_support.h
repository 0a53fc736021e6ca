#pragma once
// What every fuzz target shares: the entry point libFuzzer calls, one-time preparation of the
// process, and a check that stops the run loudly when a promise of the readers is broken.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/channel_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace quorvel::fuzzing {

// Builds the channel tables the colour search reads, once per process, as every front end
// does at start-up. Every target calls it first.
inline void PrepareProcess() {
    [[maybe_unused]] static const bool prepared = (BuildChannelTables(), true);
}

// Reports the broken condition and aborts, which libFuzzer records as a crash and the replay
// as a failed test.
[[noreturn]] inline void FailCheck(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

}  // namespace quorvel::fuzzing

#define QUORVEL_FUZZ_CHECK(condition)   \
    ((condition) ? static_cast<void>(0) \
                 : ::quorvel::fuzzing::FailCheck(#condition, __FILE__, __LINE__))
