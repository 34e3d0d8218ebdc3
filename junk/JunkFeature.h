#pragma once
#include "platform/Platform.h"
#include "state/ProgramState.h"
#include "ui/ControlLayer.h"

namespace cc {

// Fills the pattern list and registers the handlers of this feature's controls.
void AttachJunk(ControlLayer& controls, ProgramState& state, Platform& platform);

}  // namespace cc
