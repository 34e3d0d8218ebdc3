#include "app/Program.h"

#include "junk/JunkFeature.h"
#include "repair/RepairFeature.h"
#include "shortcuts/ShortcutsFeature.h"
#include "sysinfo/SystemInfoFeature.h"
#include "ui/Frame.h"

namespace cc {

Program::Program(ControlLayer& controls, Platform& platform) : controls_(controls), platform_(platform) {
    AttachFrame(controls_, state_);
    AttachSystemInfo(controls_, state_, platform_);
    AttachShortcuts(controls_, state_, platform_);
    AttachJunk(controls_, state_, platform_);
    AttachRepair(controls_, state_, platform_);
}

}  // namespace cc
