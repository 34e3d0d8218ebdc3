#pragma once
// The "磁盘" page's drive list and the "磁盘信息" page's space table.

#include "platform/FileSystem.h"
#include "state/ProgramState.h"
#include "ui/ControlLayer.h"

namespace cc {

inline constexpr std::string_view kDriveList = "选择列表框2";
inline constexpr std::string_view kDiskTable = "超级列表框1";
inline constexpr std::string_view kLocalOnlyBox = "选择框1";

// Fetches the drives anew (only local disks while 选择框1 is checked), lists
// them all checked, and rebuilds the space table.
void RebuildDrives(ControlLayer& controls, ProgramState& state, FileSystem& files);

// One row per drive: total, used and free space in whole MB, used being the
// difference of the two whole-MB figures (with "-" when a quota makes the
// free space larger than the total). A drive whose space cannot be read
// keeps its row with empty figures.
void RefreshDiskTable(ControlLayer& controls, const ProgramState& state, FileSystem& files);

}  // namespace cc
