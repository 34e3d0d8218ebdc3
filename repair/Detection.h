#pragma once
// The five checks of the browser-repair page and the rows they write.

#include <array>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "repair/RepairControls.h"
#include "state/ProgramState.h"
#include "ui/ControlLayer.h"

namespace cc {

// The text after the last double quote, without its leading and trailing
// spaces; the whole text, trimmed, when it has no quote.
std::string LastQuotedPiece(std::string_view value);

// SystemDirectory + name, or empty while the system folder is unknown (so
// that nothing is ever looked up in, or deleted from, the current folder).
std::string SystemFile(const ProgramState& state, std::string_view name);

// Fetches the system folder afresh, then runs the five checks and writes
// every row: its verdict, its icon, and its link shown on a finding. A row
// that could not be checked shows "无法检测" with the finding's icon and hides
// its link; no other row's link is ever hidden.
void RunDetection(ControlLayer& controls, ProgramState& state, Platform& platform);

}  // namespace cc
