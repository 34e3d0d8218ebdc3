#include "sysinfo/SystemInfoFeature.h"

#include <memory>

#include "sysinfo/Gauges.h"
#include "sysinfo/InfoPages.h"

namespace cc {

void AttachSystemInfo(ControlLayer& controls, ProgramState& state, Platform& platform) {
    // The handlers share the pages' disk numbers; they live as long as the handlers.
    auto pages = std::make_shared<InfoPages>(controls, state, platform.system);
    controls.on(kInfoTabs, Event::CurrentTabChanged, [pages] { pages->pageChanged(); });
    controls.on(kDiskList, Event::SelectionChanged, [pages] { pages->diskSelected(); });
    controls.on(kAdapterList, Event::SelectionChanged, [pages] { pages->adapterSelected(); });
    SystemQueries& system = platform.system;
    controls.on(kCpuTimer, Event::Tick, [&controls, &state, &system] { RefreshCpuGauge(controls, state, system); });
    controls.on(kMemoryTimer, Event::Tick, [&controls, &system] { RefreshMemoryGauge(controls, system); });
}

}  // namespace cc
