#pragma once
// The processor load between two readings of the system's time counters
// (idle, kernel and user, in any one unit; kernel time includes idle time).

#include <cstdint>

namespace cc {

struct ProcessorTimes {
    std::uint64_t idle = 0;
    std::uint64_t kernel = 0;
    std::uint64_t user = 0;
};

// Percent busy from `before` to `after`, 0 to 100. Counters that did not
// move, or went backwards, give 0.
int LoadPercent(const ProcessorTimes& before, const ProcessorTimes& after);

}  // namespace cc
