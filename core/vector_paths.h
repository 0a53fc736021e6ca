#pragma once
// Whether the colour search and the dither use their SSE2 paths. Without SSE2, or when the
// build asks for the portable code only (QUORVEL_PORTABLE_ONLY, which the sanitizer build sets
// so that the tests cover both), they use plain scalar code that gives the same results.

#if defined(__SSE2__) && !defined(QUORVEL_PORTABLE_ONLY)
#define QUORVEL_SSE2 1
#include <emmintrin.h>
#else
#define QUORVEL_SSE2 0
#endif
