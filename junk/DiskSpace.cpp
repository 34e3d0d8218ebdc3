#include "junk/DiskSpace.h"

#include <string>

#include "junk/PatternList.h"

namespace cc {

void RebuildDrives(ControlLayer& c, ProgramState& state, FileSystem& files) {
    c.clearItems(kDriveList);
    state.drives = files.drives(c.checked(kLocalOnlyBox));
    for (const std::string& drive : state.drives) c.addItem(kDriveList, drive + "\\");
    SetAllChecked(c, kDriveList, true);
    RefreshDiskTable(c, state, files);
}

void RefreshDiskTable(ControlLayer& c, const ProgramState& state, FileSystem& files) {
    c.clearRows(kDiskTable);
    for (const std::string& drive : state.drives) {
        c.keepAnswering();   // a network drive may take seconds to answer
        std::vector<std::string> row{drive + "\\", "", "", ""};
        if (auto space = files.driveSpace(drive)) {
            // Units of 1024 bytes, then whole MB with the fraction dropped.
            std::uint64_t total = space->totalBytes / 1024 / 1024;
            std::uint64_t free = space->freeBytes / 1024 / 1024;
            row[1] = std::to_string(total);
            // Negative when a quota makes the free space larger than the total.
            row[2] = std::to_string(static_cast<std::int64_t>(total) - static_cast<std::int64_t>(free));
            row[3] = std::to_string(free);
        }
        c.addRow(kDiskTable, row);
    }
}

}  // namespace cc
