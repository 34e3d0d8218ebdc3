#include "sysinfo/Gauges.h"

#include "sysinfo/InfoTexts.h"

namespace cc {

void RefreshCpuGauge(ControlLayer& controls, ProgramState& state, SystemQueries& system) {
    const int load = system.QueryCpuUsage();
    state.CpuInfo = system.QueryCpuInfo();
    controls.setCaption(kCpuText, CpuText(state.CpuInfo));
    controls.setPosition(kCpuBar, load);
    controls.setCaption(kCpuUsageText, CpuUsageText(load));
}

void RefreshMemoryGauge(ControlLayer& controls, SystemQueries& system) {
    const int total = system.QueryMemory(MemoryKind::Total);
    const int available = system.QueryMemory(MemoryKind::Available);
    controls.setMaximum(kMemoryBar, total);
    const int used = static_cast<int>(static_cast<double>(total) - static_cast<double>(available));
    controls.setPosition(kMemoryBar, used);
    controls.setCaption(kMemoryText, MemoryText(total, available, used));
}

}  // namespace cc
