#pragma once
#include "state/ProgramState.h"
#include "platform/Platform.h"
#include "ui/ControlLayer.h"

namespace cc {

// Registers the handlers of this feature's controls.
void AttachSystemInfo(ControlLayer& controls, ProgramState& state, Platform& platform);

}  // namespace cc
