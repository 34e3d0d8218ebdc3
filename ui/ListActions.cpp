#include "ui/ListActions.h"

namespace cc {

void SetAllChecked(ControlLayer& c, std::string_view list, bool checked) { c.setAllItemsChecked(list, checked); }

}  // namespace cc
