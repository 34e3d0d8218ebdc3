#pragma once
// The pattern list of the "类型" page and the pattern table the scan reads.

#include <span>
#include <string_view>

#include "junk/JunkControls.h"
#include "state/ProgramState.h"
#include "ui/ControlLayer.h"
#include "ui/ListActions.h"

namespace cc {

// Fills the list with the 37 patterns it starts with, unchecked.
void AddDefaultPatterns(ControlLayer& controls);

// The texts "推荐" checks, in the order it compares against them.
std::span<const std::string_view> RecommendedPatterns();

// Unchecks all, then checks every item whose text is recommended.
void RecommendPatterns(ControlLayer& controls);

// Asks for a pattern and appends it unless it is empty or already listed
// (compared exactly, case and blanks included).
void AddPattern(ControlLayer& controls);

// Rewrites the pattern table from the check marks: slot i holds item i's
// text when it is checked and nothing otherwise. Items past the table's
// last slot have no slot and are left out.
void RefreshPatternTable(ControlLayer& controls, PatternTable& table);

}  // namespace cc
