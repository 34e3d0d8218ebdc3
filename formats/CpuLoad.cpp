#include "formats/CpuLoad.h"

namespace cc {

int LoadPercent(const ProcessorTimes& before, const ProcessorTimes& after) {
    if (after.idle < before.idle || after.kernel < before.kernel || after.user < before.user) return 0;
    const std::uint64_t idle = after.idle - before.idle;
    const std::uint64_t total = (after.kernel - before.kernel) + (after.user - before.user);
    if (total == 0 || idle >= total) return 0;
    const std::uint64_t busy = total - idle;
    return static_cast<int>((busy * 100 + total / 2) / total);
}

}  // namespace cc
