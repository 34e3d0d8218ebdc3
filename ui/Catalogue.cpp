#include "ui/Catalogue.h"

#include <array>
#include <string_view>
#include <unordered_map>

#include "resources/ResourceIds.h"

namespace cc {
namespace {

using K = ControlKind;
using F = FontStyle;
constexpr PictureFit Actual = PictureFit::ActualSize;
constexpr PictureFit Stretch = PictureFit::Stretched;
constexpr PictureFit NoPic = PictureFit::None;
constexpr Rgb kRed = 0xFF0000;
constexpr Rgb kBlue = 0x0000FF;
constexpr Rgb kSkyBlue = 0x0088FF;

// clang-format off
constexpr std::array<ControlSpec, kControlCount> kControls{{
    // Window level: the frame pieces, the title-bar buttons and the content panel.
    {"图片框_上左",     K::PictureBox,    "", -1, {0, 0, 6, 30},      "", kNoFlags, IDB_FRAME_TOP_LEFT, Actual},
    {"图片框_上中",     K::PictureBox,    "", -1, {6, 0, 280, 30},    "", kNoFlags, IDB_FRAME_TOP_MIDDLE, Stretch},
    {"图片框_上右",     K::PictureBox,    "", -1, {286, 0, 6, 30},    "", kNoFlags, IDB_FRAME_TOP_RIGHT, Actual},
    {"图形按钮_最小化", K::GraphicButton, "", -1, {512, 4, 19, 19},   "", kNoFlags, IDB_MIN_NORMAL, Actual},
    {"图形按钮_最大化", K::GraphicButton, "", -1, {531, 4, 19, 19},   "", kNoFlags, IDB_MAX_NORMAL, Actual},
    {"图形按钮_关闭",   K::GraphicButton, "", -1, {550, 4, 19, 19},   "", kNoFlags, IDB_CLOSE_NORMAL, Actual},
    {"图片框_中左",     K::PictureBox,    "", -1, {0, 30, 2, 142},    "", kNoFlags, IDB_FRAME_MIDDLE_LEFT, Stretch},
    {"图片框2",         K::PictureBox,    "", -1, {0, 30, 592, 360},  "", kNoFlags, 0, NoPic},
    {"图片框_中右",     K::PictureBox,    "", -1, {290, 30, 2, 142},  "", kNoFlags, IDB_FRAME_MIDDLE_RIGHT, Stretch},
    {"图片框_下左",     K::PictureBox,    "", -1, {0, 172, 6, 7},     "", kNoFlags, IDB_FRAME_BOTTOM_LEFT, Actual},
    {"图片框_下右",     K::PictureBox,    "", -1, {286, 172, 6, 7},   "", kNoFlags, IDB_FRAME_BOTTOM_RIGHT, Actual},
    {"图片框_下中",     K::PictureBox,    "", -1, {6, 176, 280, 2},   "", kNoFlags, IDB_FRAME_BOTTOM_MIDDLE, Stretch},

    // Inside the title bar.
    {"透明标签4", K::TransparentLabel, "图片框_上中", -1, {34, 0, 96, 32}, "澄川清理助手", kNoFlags, 0, NoPic, F::Bold14},
    {"图片框14",  K::PictureBox,       "图片框_上中", -1, {8, 8, 18, 18},  "", kNoFlags, IDR_LOGO_GIF, Stretch},

    // Inside the content panel.
    {"高级选择夹1", K::TabControl, "图片框2", -1, {5, 8, 568, 344}, ""},

    // 高级选择夹1 tab 0: system information.
    {"图片框8",     K::PictureBox, "高级选择夹1", 0, {59, 3, 506, 6},   ""},
    {"图片框11",    K::PictureBox, "高级选择夹1", 0, {558, 3, 8, 293},  ""},
    {"图片框12",    K::PictureBox, "高级选择夹1", 0, {59, 8, 4, 296},   ""},
    {"高级选择夹2", K::TabControl, "高级选择夹1", 0, {62, 8, 503, 328}, ""},

    // 高级选择夹1 tab 1: invalid shortcuts.
    {"透明标签2", K::TransparentLabel, "高级选择夹1", 1, {75, 8, 472, 16},   "无效快捷方式列表:", kNoFlags, 0, NoPic, F::Bold12},
    {"选择1",     K::CheckedListBox,   "高级选择夹1", 1, {72, 32, 483, 256}, ""},
    {"透明标签3", K::TransparentLabel, "高级选择夹1", 1, {75, 293, 56, 16},  "扫描目录:"},
    {"标签1",     K::Label,            "高级选择夹1", 1, {131, 293, 432, 16}, "标签"},
    {"图片框10",  K::PictureBox,       "高级选择夹1", 1, {475, 312, 80, 24}, "", kNoFlags, IDR_BADGE_GIF, Stretch},
    {"扫描",      K::ImageButton,      "高级选择夹1", 1, {112, 316, 69, 21}, "扫描", kNoFlags, IDB_SKIN_NORMAL},
    {"删除",      K::ImageButton,      "高级选择夹1", 1, {280, 316, 69, 21}, "删除", kNoFlags, IDB_SKIN_NORMAL},

    // 高级选择夹1 tab 3: junk files.
    {"高级选择夹3", K::TabControl, "高级选择夹1", 3, {59, 8, 504, 328}, ""},

    // 高级选择夹1 tab 4: browser repair.
    {"标签7",       K::Label,        "高级选择夹1", 4, {67, 8, 56, 16},    "扫描结果:"},
    {"标签8",       K::Label,        "高级选择夹1", 4, {67, 32, 72, 16},   "IE首页修改:"},
    {"标签13",      K::Label,        "高级选择夹1", 4, {136, 32, 379, 16}, ""},
    {"图片框17",    K::PictureBox,   "高级选择夹1", 4, {520, 32, 16, 16},  "", kNoFlags, 0, Actual},
    {"超级链接框1", K::HyperlinkBox, "高级选择夹1", 4, {539, 32, 24, 16},  "修复", kHidden, 0, NoPic, F::Default, kBlue},
    {"标签9",       K::Label,        "高级选择夹1", 4, {84, 64, 47, 16},   "DLL劫持:"},
    {"标签14",      K::Label,        "高级选择夹1", 4, {136, 64, 384, 16}, ""},
    {"图片框18",    K::PictureBox,   "高级选择夹1", 4, {520, 64, 16, 16},  "", kNoFlags, 0, Actual},
    {"超级链接框2", K::HyperlinkBox, "高级选择夹1", 4, {539, 64, 24, 16},  "修复", kHidden, 0, NoPic, F::Default, kBlue},
    {"标签10",      K::Label,        "高级选择夹1", 4, {75, 96, 56, 16},   "进程植入:"},
    {"标签16",      K::Label,        "高级选择夹1", 4, {136, 96, 384, 16}, ""},
    {"图片框19",    K::PictureBox,   "高级选择夹1", 4, {520, 96, 16, 16},  "", kNoFlags, 0, Actual},
    {"超级链接框3", K::HyperlinkBox, "高级选择夹1", 4, {539, 96, 24, 16},  "修复", kHidden, 0, NoPic, F::Default, kBlue},
    {"标签11",      K::Label,        "高级选择夹1", 4, {67, 128, 72, 16},  "IE首页劫持:"},
    {"标签15",      K::Label,        "高级选择夹1", 4, {136, 128, 384, 16}, ""},
    {"图片框20",    K::PictureBox,   "高级选择夹1", 4, {520, 128, 16, 16}, "", kNoFlags, 0, Actual},
    {"超级链接框4", K::HyperlinkBox, "高级选择夹1", 4, {539, 128, 24, 16}, "修复", kHidden, 0, NoPic, F::Default, kBlue},
    {"标签12",      K::Label,        "高级选择夹1", 4, {67, 160, 72, 16},  "IE变种劫持:"},
    {"标签17",      K::Label,        "高级选择夹1", 4, {136, 160, 384, 16}, ""},
    {"图片框21",    K::PictureBox,   "高级选择夹1", 4, {520, 160, 16, 16}, "", kNoFlags, 0, Actual},
    {"超级链接框5", K::HyperlinkBox, "高级选择夹1", 4, {539, 160, 24, 16}, "修复", kHidden, 0, NoPic, F::Default, kBlue},
    {"标签18",      K::Label,        "高级选择夹1", 4, {184, 208, 235, 16}, "注明:ZEdizi部分功能不支持VISTA系统)"},
    {"按钮11",      K::ImageButton,  "高级选择夹1", 4, {75, 264, 112, 56}, "扫描IE", kNoFlags, IDR_SCANIE_JPG, Actual},
    {"图片框22",    K::PictureBox,   "高级选择夹1", 4, {424, 296, 136, 40}, "", kNoFlags, IDR_BADGE_GIF, Stretch},

    // 高级选择夹2 tab 0: 主页.
    {"图片框9",  K::PictureBox, "高级选择夹2", 0, {37, 58, 392, 134},  "", kNoFlags, IDR_BANNER_JPG, Actual},
    {"图片框13", K::PictureBox, "高级选择夹2", 0, {325, 200, 56, 56},  "", kNoFlags, IDR_LOGO_GIF, Stretch},

    // 高级选择夹2 tab 1: CPU.
    {"图片框1",     K::PictureBox,       "高级选择夹2", 1, {424, 20, 32, 32},  "", kNoFlags, IDR_CPU_GIF, Actual},
    {"CPU时钟",     K::Timer,            "高级选择夹2", 1, {436, 48, 26, 26},  ""},
    {"透明标签1",   K::TransparentLabel, "高级选择夹2", 1, {29, 72, 56, 16},   "资源占用:"},
    {"CPU使用",     K::Label,            "高级选择夹2", 1, {352, 73, 104, 12}, "", kNoFlags, 0, NoPic, F::Default, kRed},
    {"CPU进度",     K::ProgressBar,      "高级选择夹2", 1, {96, 74, 245, 10},  ""},
    {"CPU信息标签", K::Label,            "高级选择夹2", 1, {28, 108, 424, 164}, "系统扫描中...", kMultiLine},

    // 高级选择夹2 tab 2: 主版.
    {"图片框3",      K::PictureBox, "高级选择夹2", 2, {432, 4, 32, 32},   "", kNoFlags, IDR_BOARD_JPG, Stretch},
    {"分组框4",      K::GroupBox,   "高级选择夹2", 2, {13, 48, 408, 216}, "本机主板信息"},
    {"主版信息标签", K::Label,      "分组框4",     -1, {8, 24, 392, 164}, "", kMultiLine},

    // 高级选择夹2 tab 3: 硬盘.
    {"标签3",   K::Label,      "高级选择夹2", 3, {4, 4, 401, 110},    "", kMultiLine},
    {"图片框4", K::PictureBox, "高级选择夹2", 3, {432, 4, 32, 32},    "", kNoFlags, IDI_DISK, Actual},
    {"分组框2", K::GroupBox,   "高级选择夹2", 3, {4, 116, 345, 164},  "硬盘"},
    {"列表框1", K::ListBox,    "分组框2",     -1, {27, 23, 302, 109}, ""},

    // 高级选择夹2 tab 4: 网卡.
    {"分组框3", K::GroupBox,   "高级选择夹2", 4, {4, 4, 449, 118},   "网卡"},
    {"图片框5", K::PictureBox, "高级选择夹2", 4, {456, 4, 32, 32},   "", kNoFlags, IDI_NETWORK, Actual},
    {"标签4",   K::Label,      "高级选择夹2", 4, {5, 130, 488, 142}, "", kMultiLine},
    {"列表框2", K::ListBox,    "分组框3",     -1, {3, 15, 438, 79},  ""},

    // 高级选择夹2 tab 5: 内存.
    {"图片框6",          K::PictureBox,       "高级选择夹2", 5, {432, 4, 32, 32},    "", kNoFlags, IDI_MEMORY, Stretch},
    {"分组框5",          K::GroupBox,         "高级选择夹2", 5, {5, 8, 168, 264},    "物理内存"},
    {"内存时钟",         K::Timer,            "高级选择夹2", 5, {408, 52, 26, 26},   ""},
    {"标签_百分比",      K::TransparentLabel, "高级选择夹2", 5, {272, 138, 128, 15}, "", kNoFlags, 0, NoPic, F::Default, kBlue},
    {"内存进度",         K::ProgressBar,      "高级选择夹2", 5, {200, 148, 248, 12}, ""},
    {"分组框1",          K::GroupBox,         "高级选择夹2", 5, {200, 176, 252, 96}, "释放内存：", kNoFlags, 0, NoPic, F::Default, kSkyBlue},
    {"内存标签",         K::Label,            "分组框5",     -1, {8, 16, 144, 240},  "扫描中...", kMultiLine},
    {"标签_自动",        K::Label,            "分组框1",     -1, {4, 16, 80, 16},    "自动释放间隔："},
    {"组合框_自动释放值", K::ComboBox,        "分组框1",     -1, {116, 16, 64, 20},  "1"},
    {"标签_分钟",        K::Label,            "分组框1",     -1, {188, 16, 32, 16},  "分钟"},
    {"标签_强制",        K::Label,            "分组框1",     -1, {4, 40, 104, 16},   "强制释放目标值："},
    {"编辑框_强制",      K::EditBox,          "分组框1",     -1, {116, 40, 64, 20},  "200"},
    {"透明标签_M2",      K::TransparentLabel, "分组框1",     -1, {188, 40, 24, 16},  "M", kNoFlags, 0, NoPic, F::Regular14},
    {"开始",             K::PushButton,       "分组框1",     -1, {4, 68, 64, 21},    "立即释放"},
    {"自动",             K::PushButton,       "分组框1",     -1, {92, 68, 64, 21},   "自动释放"},
    {"强制",             K::PushButton,       "分组框1",     -1, {180, 68, 64, 21},  "强制释放"},

    // 高级选择夹2 tab 6: 系统.
    {"图片框7", K::PictureBox, "高级选择夹2", 6, {448, -4, 32, 32},  "", kNoFlags, IDI_SYSTEM, Stretch},
    {"分组框6", K::GroupBox,   "高级选择夹2", 6, {8, 32, 480, 248},  "操作系统信息"},
    {"标签5",   K::Label,      "分组框6",     -1, {8, 16, 464, 224}, "", kMultiLine},

    // 高级选择夹3 tab 0: 扫描.
    {"选择列表框1", K::CheckedListBox, "高级选择夹3", 0, {8, 32, 488, 224},  ""},
    {"标签6",       K::Label,          "高级选择夹3", 0, {8, 259, 488, 21},  "", kMultiLine | kBordered},
    {"图片框15",    K::PictureBox,     "高级选择夹3", 0, {176, 286, 136, 40}, "", kNoFlags, IDR_BADGE_GIF, Stretch},
    {"按钮1",       K::ImageButton,    "高级选择夹3", 0, {8, 296, 69, 21},   "扫描垃圾", kNoFlags, IDB_SKIN_NORMAL},
    {"按钮2",       K::ImageButton,    "高级选择夹3", 0, {88, 296, 69, 21},  "删除垃圾", kNoFlags, IDB_SKIN_NORMAL},
    {"按钮3",       K::ImageButton,    "高级选择夹3", 0, {344, 296, 69, 21}, "全选中", kNoFlags, IDB_SKIN_NORMAL},
    {"按钮4",       K::ImageButton,    "高级选择夹3", 0, {424, 296, 69, 21}, "全不选", kNoFlags, IDB_SKIN_NORMAL},

    // 高级选择夹3 tab 1: 磁盘.
    {"选择列表框2", K::CheckedListBox, "高级选择夹3", 1, {8, 32, 360, 256},   ""},
    {"按钮5",       K::ImageButton,    "高级选择夹3", 1, {400, 32, 69, 21},   "全选中", kNoFlags, IDB_SKIN_NORMAL},
    {"按钮6",       K::ImageButton,    "高级选择夹3", 1, {400, 72, 69, 21},   "全不选", kNoFlags, IDB_SKIN_NORMAL},
    {"图片框16",    K::PictureBox,     "高级选择夹3", 1, {368, 280, 136, 40}, "", kNoFlags, IDR_BADGE_GIF, Stretch},
    {"选择框1",     K::CheckBox,       "高级选择夹3", 1, {8, 296, 104, 16},   "仅列表本地磁盘", kChecked},

    // 高级选择夹3 tab 2: 类型.
    {"选择列表框3", K::CheckedListBox, "高级选择夹3", 2, {8, 32, 360, 288}, ""},
    {"按钮10",      K::ImageButton,    "高级选择夹3", 2, {408, 32, 69, 21},  "推荐", kNoFlags, IDB_SKIN_NORMAL},
    {"按钮7",       K::ImageButton,    "高级选择夹3", 2, {408, 64, 69, 21},  "全选中", kNoFlags, IDB_SKIN_NORMAL},
    {"按钮8",       K::ImageButton,    "高级选择夹3", 2, {408, 96, 69, 21},  "全不选", kNoFlags, IDB_SKIN_NORMAL},
    {"按钮9",       K::ImageButton,    "高级选择夹3", 2, {408, 144, 69, 21}, "添加", kNoFlags, IDB_SKIN_NORMAL},

    // 高级选择夹3 tab 3: 高级.
    {"分组框7", K::GroupBox,    "高级选择夹3", 3, {8, 32, 480, 72},    "删除选项"},
    {"单选框1", K::RadioButton, "分组框7",     -1, {16, 16, 184, 24}, "将要删除文件移动到回收站", kDisabled},
    {"单选框2", K::RadioButton, "分组框7",     -1, {16, 40, 184, 24}, "直接删除", kChecked},

    // 高级选择夹3 tab 4: 磁盘信息.
    {"超级列表框1", K::ReportListView, "高级选择夹3", 4, {16, 32, 456, 280}, ""},
}};

// Not drawn: the names of the pages, shown as tooltips. Tabs 2 and 5 hold nothing and have none.
constexpr std::array<std::string_view, 6> kTabs1Texts{"系统信息", "无效快捷方式", "", "垃圾清理", "浏览器修复", ""};
constexpr std::array<int, 6> kTabs1Icons{IDI_TAB1_SYSINFO, IDI_TAB1_SHORTCUTS, IDI_TAB1_EMPTY2,
                                         IDI_TAB1_JUNK, IDI_TAB1_REPAIR, IDI_TAB1_EMPTY5};
constexpr std::array<std::string_view, 7> kTabs2Texts{"主页", "CPU", "主版", "硬盘", "网卡", "内存", "系统"};
constexpr std::array<int, 7> kTabs2Icons{IDI_TAB2_HOME, IDI_TAB2_CPU, IDI_TAB2_BOARD, IDI_TAB2_DISK,
                                         IDI_TAB2_NETWORK, IDI_TAB2_MEMORY, IDI_TAB2_SYSTEM};
constexpr std::array<std::string_view, 5> kTabs3Texts{"扫描", "磁盘", "类型", "高级", "磁盘信息"};

constexpr std::array<TabSpec, 3> kTabControls{{
    {"高级选择夹1", TabPlacement::Left, false, kTabs1Texts, kTabs1Icons},
    {"高级选择夹2", TabPlacement::Bottom, true, kTabs2Texts, kTabs2Icons},
    {"高级选择夹3", TabPlacement::Top, true, kTabs3Texts, {}},
}};

constexpr std::array<ColumnSpec, 4> kDiskTableColumns{{
    {"磁盘", 130}, {"总空间 (MB)", 100}, {"已用空间 (MB)", 100}, {"剩余空间 (MB)", 100},
}};
// clang-format on

}  // namespace

std::span<const ControlSpec> Controls() { return kControls; }
std::span<const TabSpec> TabControls() { return kTabControls; }
std::span<const ColumnSpec> DiskTableColumns() { return kDiskTableColumns; }

int FindControl(std::string_view name) {
    static const auto* index = [] {
        auto* map = new std::unordered_map<std::string_view, int>;
        for (int i = 0; i < kControlCount; ++i) map->emplace(kControls[i].name, i);
        return map;
    }();
    auto it = index->find(name);
    return it == index->end() ? -1 : it->second;
}

const TabSpec* FindTabSpec(std::string_view control) {
    for (const auto& tab : kTabControls)
        if (tab.control == control) return &tab;
    return nullptr;
}

}  // namespace cc
