#pragma once
// The pages of the system-information tab control: each is filled from a
// query when the user switches to it.

#include <vector>

#include "platform/SystemQueries.h"
#include "state/ProgramState.h"
#include "sysinfo/InfoControls.h"
#include "ui/ControlLayer.h"

namespace cc {

inline constexpr int kHighestDiskNumber = 10;

class InfoPages {
public:
    InfoPages(ControlLayer& controls, ProgramState& state, SystemQueries& system)
        : controls_(controls), state_(state), system_(system) {}

    void pageChanged();
    void diskSelected();
    void adapterSelected();

private:
    void fillBoard();
    void fillDisks();
    void fillAdapters();
    void fillOs();

    ControlLayer& controls_;
    ProgramState& state_;
    SystemQueries& system_;
    std::vector<int> diskNumbers_;   // the disk number of each item of the disk list
};

}  // namespace cc
