#pragma once
// The five checks of the browser-repair page and the rows they write.

#include <array>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "state/ProgramState.h"
#include "ui/ControlLayer.h"

namespace cc {

enum class HijackRow { StartPage, PlantedLibrary, StartupEntry, DesktopIcon, HttpCommand };

struct RowControls {
    std::string_view caption;  // the label that names the row
    std::string_view result;   // label
    std::string_view icon;     // 16 x 16 picture box
    std::string_view link;     // "修复"
};

// Top to bottom, in HijackRow order.
inline constexpr std::array<RowControls, 5> kRowControls{{
    {"标签8", "标签13", "图片框17", "超级链接框1"},
    {"标签9", "标签14", "图片框18", "超级链接框2"},
    {"标签10", "标签16", "图片框19", "超级链接框3"},
    {"标签11", "标签15", "图片框20", "超级链接框4"},
    {"标签12", "标签17", "图片框21", "超级链接框5"},
}};

inline const RowControls& ControlsOf(HijackRow row) { return kRowControls[static_cast<size_t>(row)]; }

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
