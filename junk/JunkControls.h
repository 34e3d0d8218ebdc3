#pragma once
// The junk cleaner's controls by what they do; each value is the control's design name.

#include <string_view>

namespace cc {

// The outer tab control, whose tab 3 holds the junk cleaner's pages.
inline constexpr std::string_view kOuterTabs = "高级选择夹1";
inline constexpr int kJunkTab = 3;

// "扫描"
inline constexpr std::string_view kScanButton = "按钮1";
inline constexpr std::string_view kDeleteButton = "按钮2";
inline constexpr std::string_view kCheckAllResultsButton = "按钮3";
inline constexpr std::string_view kUncheckAllResultsButton = "按钮4";
inline constexpr std::string_view kResultList = "选择列表框1";
inline constexpr std::string_view kEstimateLabel = "标签6";
// "高级": what 按钮2 does with the files
inline constexpr std::string_view kRecycleChoice = "单选框1";
inline constexpr std::string_view kDeleteChoice = "单选框2";
// "磁盘" and "磁盘信息"
inline constexpr std::string_view kLocalOnlyBox = "选择框1";
inline constexpr std::string_view kDriveList = "选择列表框2";
inline constexpr std::string_view kCheckAllDrivesButton = "按钮5";
inline constexpr std::string_view kUncheckAllDrivesButton = "按钮6";
inline constexpr std::string_view kDiskTable = "超级列表框1";
// "类型"
inline constexpr std::string_view kPatternList = "选择列表框3";
inline constexpr std::string_view kCheckAllPatternsButton = "按钮7";
inline constexpr std::string_view kUncheckAllPatternsButton = "按钮8";
inline constexpr std::string_view kAddPatternButton = "按钮9";
inline constexpr std::string_view kRecommendButton = "按钮10";

}  // namespace cc
