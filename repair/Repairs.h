#pragma once
// The one-click repairs, one per row. Each runs its steps in order, passes
// over a step that fails, and answers its success test.

#include "platform/Platform.h"
#include "repair/Detection.h"
#include "state/ProgramState.h"

namespace cc {

bool RunRepair(HijackRow row, ProgramState& state, Platform& platform);

}  // namespace cc
