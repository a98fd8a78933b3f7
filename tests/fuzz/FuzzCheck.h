#pragma once

#include <cstdlib>

// A broken invariant ends the run, so that the fuzzer keeps the input that broke it.
inline void Check(bool condition) {
    if (!condition)
        std::abort();
}
