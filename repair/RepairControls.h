#pragma once
// The browser-repair page's controls by what they do; each value is the control's design name.

#include <array>
#include <cstddef>
#include <string_view>

namespace cc {

inline constexpr std::string_view kDetectButton = "按钮11";

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

}  // namespace cc
