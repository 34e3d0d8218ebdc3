#pragma once
#include "platform/Platform.h"
#include "state/ProgramState.h"
#include "ui/ControlLayer.h"

namespace cc {

// Registers the handlers of this feature's controls.
void AttachRepair(ControlLayer& controls, ProgramState& state, Platform& platform);

}  // namespace cc
