#pragma once
// The invalid-shortcut page's controls by what they do; each value is the control's design name.

#include <string_view>

namespace cc {

inline constexpr std::string_view kShortcutScanButton = "扫描";
inline constexpr std::string_view kShortcutDeleteButton = "删除";
inline constexpr std::string_view kShortcutList = "选择1";
inline constexpr std::string_view kResultHeading = "透明标签3";
inline constexpr std::string_view kShortcutStatus = "标签1";   // the shortcut being read, then the total

}  // namespace cc
