#pragma once
// What every fuzz target shares: a property that must hold, or the run stops
// with the input kept (libFuzzer saves it; the replay names the file).

#include <cstdio>
#include <cstdlib>

namespace cc::fuzz {

inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

}  // namespace cc::fuzz
