#pragma once

#include <cstdio>
#include <cstdlib>

// A property that must hold for every input: on failure the fuzzer keeps the input as a
// crash, so that it can be replayed.
#define FUZZ_CHECK(cond)                                                                \
  do {                                                                                  \
    if (!(cond)) {                                                                      \
      std::fprintf(stderr, "property failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (0)
