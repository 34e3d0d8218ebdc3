#include "files/CheckedFiles.h"

#include <set>
#include <string>

#include "ui/Catalogue.h"
#include "ui/LongWork.h"

namespace cc {

std::uint64_t TotalSize(const std::vector<ListedFile>& listed) {
    std::uint64_t total = 0;
    for (const ListedFile& file : listed) total += file.size;
    return total;
}

int DeleteCheckedFiles(ControlLayer& c, std::string_view list, FileSystem& files, std::vector<ListedFile>& listed,
                       Removal removal) {
    FolderCacheScope folderCache(files);   // consecutive results in one folder open it once
    int checked = 0;
    for (int i = 0, count = c.itemCount(list); i < count; ++i) checked += c.itemChecked(list, i);
    LongWork shown(c, checked);
    std::vector<int> gone;
    std::vector<ListedFile> kept;
    std::set<std::string> stayed;
    for (int i = 0, count = c.itemCount(list), done = 0; i < count; ++i) {
        const bool known = i < static_cast<int>(listed.size());
        if (!c.itemChecked(list, i)) {
            if (known) kept.push_back(listed[i]);
            continue;
        }
        const std::string path = c.itemText(list, i);
        // Without a record, nothing to hold it to. A file that was not deleted
        // may be gone all the same (deleted by another program, or listed twice);
        // one that is there, or cannot be looked at, stays listed for the user.
        const bool deleted = known && (removal == Removal::Recycle ? files.recycleFile(path, listed[i].id)
                                                                   : files.deleteFile(path, listed[i].id));
        if (!deleted && files.findFile(path) != Lookup::Missing) {
            c.setItemChecked(list, i, false);
            if (known) kept.push_back(listed[i]);
            stayed.insert(path);
        } else {
            gone.push_back(i);
        }
        shown.progress(++done);
        c.keepAnswering();
    }
    // No input is processed in this loop, so nobody can see the list between
    // two removals: one removal of them all looks the same as one at a time,
    // and costs far less in a long list.
    c.removeItems(list, gone);
    listed = std::move(kept);
    return static_cast<int>(stayed.size());
}

void ReportFilesThatStayed(ControlLayer& controls, int stayed, Removal removal) {
    const char* failed = removal == Removal::Recycle ? " 个文件未能移到回收站" : " 个文件未能删除";
    if (stayed > 0) controls.messageBox("有 " + std::to_string(stayed) + failed, kProgramName, MessageKind::Ok);
}

}  // namespace cc
