#pragma once
// What the pages do to their checked lists.

#include <string_view>

#include "ui/ControlLayer.h"

namespace cc {

// Sets the check mark of every item of a list, first to last.
void SetAllChecked(ControlLayer& controls, std::string_view list, bool checked);

// Whether any item of a list is checked.
bool AnyChecked(const ControlLayer& controls, std::string_view list);

}  // namespace cc
