#include "sysinfo/InfoPages.h"

#include "sysinfo/Gauges.h"
#include "sysinfo/InfoTexts.h"

namespace cc {

void InfoPages::pageChanged() {
    switch (controls_.currentTab(kInfoTabs)) {
        case 1: controls_.setInterval(kCpuTimer, kGaugeIntervalMs); break;
        case 2: fillBoard(); break;
        case 3: fillDisks(); break;
        case 4: fillAdapters(); break;
        case 5: controls_.setInterval(kMemoryTimer, kGaugeIntervalMs); break;
        case 6: fillOs();   // the other pages fill nothing
    }
}

void InfoPages::fillBoard() {
    state_.BoardInfo = system_.QueryBoardInfo();
    controls_.setCaption(kBoardText, BoardText(state_.BoardInfo));
}

void InfoPages::fillDisks() {
    controls_.clearItems(kDiskList);
    diskNumbers_.clear();
    for (int number = 0; number <= kHighestDiskNumber; ++number) {
        if (!system_.QueryDiskInfo(number, state_.DiskInfo)) continue;
        controls_.addItem(kDiskList, DiskListText(state_.DiskInfo, number));
        diskNumbers_.push_back(number);
    }
    controls_.setCaption(kDiskGroup, DiskGroupCaption(controls_.itemCount(kDiskList)));
}

void InfoPages::diskSelected() {
    const int item = controls_.currentItem(kDiskList);
    if (item < 0 || item >= static_cast<int>(diskNumbers_.size())) return;
    // A disk gone since the list was filled keeps the details last shown.
    if (!system_.QueryDiskInfo(diskNumbers_[item], state_.DiskInfo)) return;
    controls_.setCaption(kDiskText, DiskText(state_.DiskInfo));
}

void InfoPages::fillAdapters() {
    state_.adapters = system_.QueryAdapters();
    controls_.clearItems(kAdapterList);
    for (const auto& adapter : state_.adapters) controls_.addItem(kAdapterList, adapter.name);
    controls_.setCaption(kAdapterGroup, AdapterGroupCaption(controls_.itemCount(kAdapterList)));
}

void InfoPages::adapterSelected() {
    const int item = controls_.currentItem(kAdapterList);
    if (item < 0 || item >= static_cast<int>(state_.adapters.size())) return;
    controls_.setCaption(kAdapterText, AdapterText(state_.adapters[item]));
}

void InfoPages::fillOs() {
    state_.OsInfo = system_.QueryOsInfo();
    controls_.setCaption(kOsText, OsText(state_.OsInfo));
}

}  // namespace cc
