#pragma once
// The once-a-second refresh of the processor and memory gauges.

#include "platform/SystemQueries.h"
#include "state/ProgramState.h"
#include "sysinfo/InfoControls.h"
#include "ui/ControlLayer.h"

namespace cc {

inline constexpr int kGaugeIntervalMs = 1000;

void RefreshCpuGauge(ControlLayer& controls, ProgramState& state, SystemQueries& system);
void RefreshMemoryGauge(ControlLayer& controls, SystemQueries& system);

}  // namespace cc
