#pragma once

#include <cstdio>
#include <cstdlib>

namespace veldra::fuzz {

// A broken promise ends the run, so that the fuzzer keeps the input and the replay test fails.
inline void require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "Fuzz check failed: %s\n", promise);
    std::abort();
}

} // namespace veldra::fuzz
