#pragma once
// What the scans do to the files they listed: the total and the deletion.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "ui/ControlLayer.h"

namespace cc {

// What a scan saw of each file it listed, one record per item, in item order.
struct ListedFile {
    std::uint64_t size = 0;
    std::uint64_t id = 0;   // the file's number when listed: only that file is ever deleted
};

// The bytes of all the files listed.
std::uint64_t TotalSize(const std::vector<ListedFile>& listed);

// What becomes of the checked files: deleted, or moved to the Recycle Bin.
enum class Removal { Delete, Recycle };

// Deletes (or recycles) the file named by each checked item, if it is still the file that
// was listed, and removes the item once the file is deleted or nothing is at
// its path any more. An item whose path still names a file (it would not go,
// or another file took its place), or cannot be looked at, stays, unchecked;
// so do unchecked items.
// Only what the user sees checked is ever deleted. `listed` loses the records
// of the removed items, so it stays in step and totals count what stays.
// Answers how many files stayed.
int DeleteCheckedFiles(ControlLayer& controls, std::string_view list, FileSystem& files,
                       std::vector<ListedFile>& listed, Removal removal = Removal::Delete);

// Tells in one box how many files a deletion left, if any: a deletion that
// took every file shows nothing.
void ReportFilesThatStayed(ControlLayer& controls, int stayed, Removal removal = Removal::Delete);

}  // namespace cc
