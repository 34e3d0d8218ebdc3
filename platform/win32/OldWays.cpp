#include "platform/win32/OldWays.h"

namespace cc {

namespace {
unsigned forced = 0;   // only the UI thread and tests touch it
}

bool OldWayForced(OldWay way) { return (forced & static_cast<unsigned>(way)) != 0; }

ForceOldWays::ForceOldWays(unsigned ways) : saved_(forced) { forced |= ways; }

ForceOldWays::~ForceOldWays() { forced = saved_; }

}  // namespace cc
