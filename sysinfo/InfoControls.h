#pragma once
// The system-information pages' controls by what they show; each value is the control's design name.

#include <string_view>

namespace cc {

inline constexpr std::string_view kInfoTabs = "高级选择夹2";
inline constexpr std::string_view kBoardText = "主版信息标签";
inline constexpr std::string_view kDiskList = "列表框1";
inline constexpr std::string_view kDiskGroup = "分组框2";
inline constexpr std::string_view kDiskText = "标签3";
inline constexpr std::string_view kAdapterList = "列表框2";
inline constexpr std::string_view kAdapterGroup = "分组框3";
inline constexpr std::string_view kAdapterText = "标签4";
inline constexpr std::string_view kOsText = "标签5";
// The two gauges, ticking once a second from when their page is first shown.
inline constexpr std::string_view kCpuTimer = "CPU时钟";
inline constexpr std::string_view kCpuText = "CPU信息标签";
inline constexpr std::string_view kCpuBar = "CPU进度";
inline constexpr std::string_view kCpuUsageText = "CPU使用";
inline constexpr std::string_view kMemoryTimer = "内存时钟";
inline constexpr std::string_view kMemoryBar = "内存进度";
inline constexpr std::string_view kMemoryText = "内存标签";

}  // namespace cc
