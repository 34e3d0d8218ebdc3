#include "sysinfo/Gauges.h"

#include "sysinfo/InfoTexts.h"

namespace cc {

void RefreshCpuGauge(ControlLayer& controls, ProgramState& state, SystemQueries& system) {
    const int load = system.QueryCpuUsage();
    state.CpuInfo = system.QueryCpuInfo();
    controls.setCaption("CPU信息标签", CpuText(state.CpuInfo));
    controls.setPosition("CPU进度", load);
    controls.setCaption("CPU使用", CpuUsageText(load));
}

void RefreshMemoryGauge(ControlLayer& controls, SystemQueries& system) {
    const int total = system.QueryMemory(MemoryKind::Total);
    const int available = system.QueryMemory(MemoryKind::Available);
    controls.setMaximum("内存进度", total);
    const int used = static_cast<int>(static_cast<double>(total) - static_cast<double>(available));
    controls.setPosition("内存进度", used);
    controls.setCaption("内存标签", MemoryText(total, available, used));
}

}  // namespace cc
