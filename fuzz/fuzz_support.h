#pragma once
// What every fuzz target shares: the entry point libFuzzer calls, one-time preparation of the
// process, and a check that stops the run loudly when a promise of the readers is broken.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace quorvel::fuzzing {

// Builds the channel tables the colour search reads, once per process, as every front end
// does at start-up. Every target calls it first.
void PrepareProcess();

// Reports the broken condition and aborts, which libFuzzer records as a crash and the replay
// as a failed test.
[[noreturn]] void FailCheck(const char* condition, const char* file, int line);

}  // namespace quorvel::fuzzing

#define QUORVEL_FUZZ_CHECK(condition)   \
    ((condition) ? static_cast<void>(0) \
                 : ::quorvel::fuzzing::FailCheck(#condition, __FILE__, __LINE__))
