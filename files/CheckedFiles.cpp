#include "files/CheckedFiles.h"

#include "ui/LongWork.h"

namespace cc {

std::uint64_t TotalSize(const std::vector<ListedFile>& listed) {
    std::uint64_t total = 0;
    for (const ListedFile& file : listed) total += file.size;
    return total;
}

void DeleteCheckedFiles(ControlLayer& c, std::string_view list, FileSystem& files, std::vector<ListedFile>& listed) {
    HeldFolders held(files);   // consecutive results in one folder open it once
    int checked = 0;
    for (int i = 0, count = c.itemCount(list); i < count; ++i) checked += c.itemChecked(list, i);
    LongWork shown(c, checked);
    std::vector<int> gone;
    std::vector<ListedFile> kept;
    for (int i = 0, count = c.itemCount(list); i < count; ++i) {
        const bool known = i < static_cast<int>(listed.size());
        if (!c.itemChecked(list, i)) {
            if (known) kept.push_back(listed[i]);
            continue;
        }
        if (known) files.deleteFile(c.itemText(list, i), listed[i].id);   // without a record, nothing to hold it to
        gone.push_back(i);
        shown.progress(static_cast<int>(gone.size()));
        c.keepAnswering();
    }
    // No input is processed in this loop, so nobody can see the list between
    // two removals: one removal of them all looks the same as one at a time,
    // and costs far less in a long list.
    c.removeItems(list, gone);
    listed = std::move(kept);
}

}  // namespace cc
