#include "ui/ListActions.h"

#include <vector>

namespace cc {

void SetAllChecked(ControlLayer& c, std::string_view list, bool checked) { c.setAllItemsChecked(list, checked); }

void DeleteCheckedFiles(ControlLayer& c, std::string_view list, FileSystem& files,
                        const std::function<void(int)>& removed) {
    std::vector<int> gone;
    for (int i = 0, count = c.itemCount(list); i < count; ++i) {
        if (!c.itemChecked(list, i)) continue;
        files.deleteFile(c.itemText(list, i));
        gone.push_back(i);
    }
    // No message is processed in this loop, so nobody can see the list between
    // two removals: one removal of them all looks the same as one at a time,
    // and costs far less in a long list.
    c.removeItems(list, gone);
    if (removed)
        for (auto it = gone.rbegin(); it != gone.rend(); ++it) removed(*it);
}

}  // namespace cc
