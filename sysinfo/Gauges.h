#pragma once
// The once-a-second refresh of the processor and memory gauges.

#include "platform/SystemQueries.h"
#include "state/ProgramState.h"
#include "ui/ControlLayer.h"

namespace cc {

inline constexpr const char* kCpuTimer = "CPU时钟";
inline constexpr const char* kMemoryTimer = "内存时钟";
inline constexpr int kGaugeIntervalMs = 1000;

void RefreshCpuGauge(ControlLayer& controls, ProgramState& state, SystemQueries& system);
void RefreshMemoryGauge(ControlLayer& controls, SystemQueries& system);

}  // namespace cc
