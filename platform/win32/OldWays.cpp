#include "platform/win32/OldWays.h"

namespace cc {

namespace {
unsigned forced = 0, taken = 0;   // only the UI thread and tests touch them
}

bool OldWayForced(OldWay way) {
    const bool yes = (forced & static_cast<unsigned>(way)) != 0;
    return taken += yes, yes;
}

ForceOldWays::ForceOldWays(unsigned ways) : saved_(forced), answeredBefore_(taken) { forced |= ways; }

unsigned ForceOldWays::answered() const { return taken - answeredBefore_; }

ForceOldWays::~ForceOldWays() { forced = saved_; }

}  // namespace cc
