#include "ui/ListActions.h"

namespace cc {

void SetAllChecked(ControlLayer& c, std::string_view list, bool checked) {
    int count = c.itemCount(list);
    for (int i = 0; i < count; ++i) c.setItemChecked(list, i, checked);
}

void DeleteCheckedFiles(ControlLayer& c, std::string_view list, FileSystem& files,
                        const std::function<void(int)>& removed) {
    for (int i = 0; i < c.itemCount(list);) {
        if (!c.itemChecked(list, i)) {
            ++i;
            continue;
        }
        files.deleteFile(c.itemText(list, i));
        c.removeItem(list, i);   // the next item moves up to i
        if (removed) removed(i);
    }
}

}  // namespace cc
