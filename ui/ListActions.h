#pragma once
// What the pages do to their checked lists.

#include <functional>
#include <string_view>

#include "platform/FileSystem.h"
#include "ui/ControlLayer.h"

namespace cc {

// Sets the check mark of every item of a list, first to last.
void SetAllChecked(ControlLayer& controls, std::string_view list, bool checked);

// Deletes the file named by each checked item and removes the item, whether
// or not the file could be deleted; unchecked items stay. Only what the user
// sees checked is ever deleted. `removed` hears each removed item's position,
// last first, so that erasing in that order keeps a parallel table in step.
void DeleteCheckedFiles(ControlLayer& controls, std::string_view list, FileSystem& files,
                        const std::function<void(int)>& removed = {});

}  // namespace cc
