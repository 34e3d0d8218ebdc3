#include "sysinfo/SystemInfoFeature.h"

namespace cc {

void AttachSystemInfo(ControlLayer&, ProgramState&, Platform&) {}

}  // namespace cc
