#include "junk/JunkFeature.h"

#include <memory>

#include "junk/DiskSpace.h"
#include "junk/JunkScan.h"
#include "junk/PatternList.h"

namespace cc {

void AttachJunk(ControlLayer& c, ProgramState& state, Platform& platform) {
    AddDefaultPatterns(c);
    auto scan = std::make_shared<JunkScan>(c, state, platform.files);
    FileSystem& files = platform.files;
    // The pattern table follows the marks whenever they change, not only on
    // a click in the list: the buttons change marks without one.
    auto refresh = [&c, &state] { RefreshPatternTable(c, state.JunkPatterns); };

    c.on(kScanButton, Event::Clicked, [scan] { scan->scanClicked(); });
    c.on(kDeleteButton, Event::Clicked, [scan] { scan->deleteClicked(); });
    // The Recycle Bin is a choice only where each user has a bin folder of their own (not XP's shared index).
    c.setDisabled(kRecycleChoice, !files.hasRecycleBins());
    c.on(kCheckAllResultsButton, Event::Clicked, [&c] { SetAllChecked(c, kResultList, true); });
    c.on(kUncheckAllResultsButton, Event::Clicked, [&c] { SetAllChecked(c, kResultList, false); });

    // The drive list starts as its check box shows, the local disks all checked, from when the junk
    // pages are first shown: not at start-up, where the drives' queries would delay the first paint.
    auto drivesListed = std::make_shared<bool>(false);
    c.on(kOuterTabs, Event::CurrentTabChanged, [&c, &state, &files, drivesListed] {
        if (*drivesListed || c.currentTab(kOuterTabs) != kJunkTab) return;
        *drivesListed = true;
        RebuildDrives(c, state, files);
    });
    c.on(kLocalOnlyBox, Event::Clicked, [&c, &state, &files, drivesListed] {
        *drivesListed = true;
        RebuildDrives(c, state, files);
    });
    c.on(kCheckAllDrivesButton, Event::Clicked, [&c] { SetAllChecked(c, kDriveList, true); });
    c.on(kUncheckAllDrivesButton, Event::Clicked, [&c] { SetAllChecked(c, kDriveList, false); });

    c.on(kPatternList, Event::ItemSelected, refresh);
    c.on(kRecommendButton, Event::Clicked, [&c, refresh] { RecommendPatterns(c); refresh(); });
    c.on(kCheckAllPatternsButton, Event::Clicked, [&c, refresh] { SetAllChecked(c, kPatternList, true); refresh(); });
    c.on(kUncheckAllPatternsButton, Event::Clicked, [&c, refresh] { SetAllChecked(c, kPatternList, false); refresh(); });
    c.on(kAddPatternButton, Event::Clicked, [&c] { AddPattern(c); });
}

}  // namespace cc
