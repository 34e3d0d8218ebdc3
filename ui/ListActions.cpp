#include "ui/ListActions.h"

namespace cc {

void SetAllChecked(ControlLayer& c, std::string_view list, bool checked) { c.setAllItemsChecked(list, checked); }

bool AnyChecked(const ControlLayer& c, std::string_view list) {
    for (int i = 0, n = c.itemCount(list); i < n; ++i)
        if (c.itemChecked(list, i)) return true;
    return false;
}

}  // namespace cc
