#pragma once
// The one-click repairs, one per row. Each runs its steps in order, goes on
// past a step that fails, and answers whether every change it stands for is
// known to be made: its success test and the steps that matter besides it.

#include "platform/Platform.h"
#include "repair/Detection.h"
#include "state/ProgramState.h"

namespace cc {

bool RunRepair(HijackRow row, ProgramState& state, Platform& platform);

}  // namespace cc
