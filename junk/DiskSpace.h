#pragma once
// The "磁盘" page's drive list and the "磁盘信息" page's space table.

#include "junk/JunkControls.h"
#include "platform/FileSystem.h"
#include "state/ProgramState.h"
#include "ui/ControlLayer.h"

namespace cc {

// Fetches the drives anew (only local disks while 选择框1 is checked), lists
// them all checked, and rebuilds the space table.
void RebuildDrives(ControlLayer& controls, ProgramState& state, FileSystem& files);

// One row per drive: total, used and free space in whole MB, used being the
// difference of the two whole-MB figures (with "-" when a quota makes the
// free space larger than the total). A drive whose space cannot be read
// keeps its row with empty figures.
void RefreshDiskTable(ControlLayer& controls, const ProgramState& state, FileSystem& files);

}  // namespace cc
