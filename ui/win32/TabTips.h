#pragma once
// Names for the tabs of a strip that shows icons only: a tooltip over each.

#include <windows.h>

#include "ui/Catalogue.h"

namespace cc {

// Gives the strip its tooltip control, with one tool over each tab that has a
// name in `spec`; a tab without one (an empty page) shows no tooltip.
void NameTabsByTips(HWND strip, const TabSpec& spec);

}  // namespace cc
