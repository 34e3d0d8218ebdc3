#pragma once
// Before a repair changes anything, what it is about to change is saved in a
// folder of its own, so that the user can put it back: an undo file regedit
// imports, a copy of every file, and a note of where each came from.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace cc {

// What one repair would change.
struct RepairChanges {
    std::vector<std::pair<RegistryValue, std::string>> writes;   // a value and the text written to it
    std::vector<RegistryValue> deletions;
    std::vector<std::string> files;   // deleted or replaced
};

// The number of each file copied, by its path: the repair deletes only those.
using CopiedFiles = std::map<std::string, std::uint64_t>;

// Saves what `changes` would change in a new folder
// <the machine's application data>\澄川清理助手\备份\<the user's SID>\<date>-<time>-<row>\
// (the program's folders only administrators can change) and answers whether
// the repair may go on. False: something could not be read
// or saved, and nothing may be changed. Changes that change nothing (a value
// already as it would be written, a file that is not there) save nothing and
// make no folder.
bool SaveBeforeRepair(const RepairChanges& changes, std::string_view row, Platform& platform, CopiedFiles& copied);

}  // namespace cc
