// The catalogue against the window design: counts, names, parents, pages,
// initial states and the fixed lists.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "resources/ResourceIds.h"
#include "ui/Catalogue.h"

using namespace cc;

namespace {

std::map<std::string, int> CountByKind() {
    std::map<std::string, int> counts;
    const char* names[] = {"PictureBox", "GraphicButton", "ImageButton", "PushButton", "Label",
                           "TransparentLabel", "GroupBox", "CheckBox", "RadioButton", "EditBox",
                           "ComboBox", "ListBox", "CheckedListBox", "ReportListView", "ProgressBar",
                           "HyperlinkBox", "Timer", "TabControl"};
    for (const auto& c : Controls()) ++counts[names[static_cast<int>(c.kind)]];
    return counts;
}

const ControlSpec& Get(std::string_view name) {
    int index = FindControl(name);
    EXPECT_GE(index, 0) << name;
    return Controls()[index];
}

}  // namespace

TEST(Catalogue, HasAllControlsWithUniqueNames) {
    ASSERT_EQ(Controls().size(), 110u);
    std::set<std::string_view> names;
    for (const auto& c : Controls()) EXPECT_TRUE(names.insert(c.name).second) << c.name;
    for (int i = 0; i < kControlCount; ++i) EXPECT_EQ(FindControl(Controls()[i].name), i);
    EXPECT_EQ(FindControl("nothing"), -1);
}

TEST(Catalogue, KindsAddUpToTheDesign) {
    auto counts = CountByKind();
    EXPECT_EQ(counts["PictureBox"], 30);
    EXPECT_EQ(counts["GraphicButton"], 3);
    EXPECT_EQ(counts["ImageButton"], 13);
    EXPECT_EQ(counts["PushButton"], 3);
    EXPECT_EQ(counts["Label"], 24);
    EXPECT_EQ(counts["TransparentLabel"], 6);
    EXPECT_EQ(counts["GroupBox"], 7);
    EXPECT_EQ(counts["CheckBox"], 1);
    EXPECT_EQ(counts["RadioButton"], 2);
    EXPECT_EQ(counts["EditBox"], 1);
    EXPECT_EQ(counts["ComboBox"], 1);
    EXPECT_EQ(counts["ListBox"], 2);
    EXPECT_EQ(counts["CheckedListBox"], 4);
    EXPECT_EQ(counts["ReportListView"], 1);
    EXPECT_EQ(counts["ProgressBar"], 2);
    EXPECT_EQ(counts["HyperlinkBox"], 5);
    EXPECT_EQ(counts["Timer"], 2);
    EXPECT_EQ(counts["TabControl"], 3);
}

TEST(Catalogue, EveryParentExistsComesFirstAndPagesFitTheirTabControl) {
    for (int i = 0; i < kControlCount; ++i) {
        const ControlSpec& c = Controls()[i];
        if (c.parent.empty()) {
            EXPECT_EQ(c.page, -1) << c.name;
            continue;
        }
        int parent = FindControl(c.parent);
        ASSERT_GE(parent, 0) << c.name;
        EXPECT_LT(parent, i) << c.name << " is listed before its parent";
        const ControlSpec& p = Controls()[parent];
        if (p.kind == ControlKind::TabControl) {
            const TabSpec* tabs = FindTabSpec(p.name);
            ASSERT_NE(tabs, nullptr);
            EXPECT_GE(c.page, 0) << c.name;
            EXPECT_LT(c.page, static_cast<int>(tabs->texts.size())) << c.name;
        } else {
            EXPECT_EQ(c.page, -1) << c.name;
            EXPECT_TRUE(p.kind == ControlKind::PictureBox || p.kind == ControlKind::GroupBox) << c.name;
        }
    }
}

TEST(Catalogue, PagesHoldTheDesignedControls) {
    std::map<std::pair<std::string_view, int>, int> perPage;
    for (const auto& c : Controls())
        if (c.page >= 0) ++perPage[{c.parent, c.page}];
    EXPECT_EQ((perPage[{"高级选择夹1", 0}]), 4);
    EXPECT_EQ((perPage[{"高级选择夹1", 1}]), 7);
    EXPECT_EQ((perPage[{"高级选择夹1", 2}]), 0);
    EXPECT_EQ((perPage[{"高级选择夹1", 3}]), 1);
    EXPECT_EQ((perPage[{"高级选择夹1", 4}]), 24);
    EXPECT_EQ((perPage[{"高级选择夹1", 5}]), 0);
    EXPECT_EQ((perPage[{"高级选择夹2", 5}]), 6);
    EXPECT_EQ((perPage[{"高级选择夹3", 0}]), 7);
    EXPECT_EQ(Get("主版信息标签").parent, "分组框4");
    EXPECT_EQ(Get("透明标签4").parent, "图片框_上中");
    EXPECT_EQ(Get("高级选择夹1").parent, "图片框2");
}

TEST(Catalogue, InitialStatesDifferOnlyWhereTheDesignSays) {
    std::set<std::string_view> hidden, disabled, checked;
    for (const auto& c : Controls()) {
        if (c.flags & kHidden) hidden.insert(c.name);
        if (c.flags & kDisabled) disabled.insert(c.name);
        if (c.flags & kChecked) checked.insert(c.name);
    }
    EXPECT_EQ(hidden, (std::set<std::string_view>{"超级链接框1", "超级链接框2", "超级链接框3", "超级链接框4", "超级链接框5"}));
    EXPECT_EQ(disabled, (std::set<std::string_view>{"单选框1"}));
    EXPECT_EQ(checked, (std::set<std::string_view>{"选择框1", "单选框2"}));
    EXPECT_EQ(Get("标签1").text, "标签");
    EXPECT_EQ(Get("内存标签").text, "扫描中...");
    EXPECT_EQ(Get("CPU信息标签").text, "系统扫描中...");
    EXPECT_EQ(Get("编辑框_强制").text, "200");
    EXPECT_EQ(Get("组合框_自动释放值").text, "1");
    EXPECT_EQ(Get("分组框1").text, "释放内存：");
    EXPECT_EQ(Get("标签18").text, "注明:ZEdizi部分功能不支持VISTA系统)");
    EXPECT_EQ(Get("透明标签4").font, FontStyle::Bold14);
    EXPECT_EQ(Get("分组框1").textColour, 0x0088FFu);
    EXPECT_EQ(Get("CPU使用").textColour, 0xFF0000u);
}

TEST(Catalogue, WindowAndFrameMatchTheDesign) {
    EXPECT_EQ(kWindowTitle, "澄川清理助手 V1.0.3");
    EXPECT_EQ(kWindowDesignRect, (Rect{50, 50, 584, 388}));
    EXPECT_EQ(Get("图片框2").rect, (Rect{0, 30, 592, 360}));
    EXPECT_EQ(Get("图片框_下中").rect, (Rect{6, 176, 280, 2}));
    EXPECT_EQ(Get("图形按钮_关闭").rect, (Rect{550, 4, 19, 19}));
    EXPECT_EQ(Get("图片框7").rect, (Rect{448, -4, 32, 32}));
    EXPECT_EQ(Get("图片框_上中").picture, IDB_FRAME_TOP_MIDDLE);
    EXPECT_EQ(Get("图片框_上中").fit, PictureFit::Stretched);
    // The four badges share one picture.
    for (auto name : {"图片框10", "图片框15", "图片框16", "图片框22"}) EXPECT_EQ(Get(name).picture, IDR_BADGE_GIF) << name;
    // Every image button but 按钮11 wears the shared skin.
    for (const auto& c : Controls()) {
        if (c.kind == ControlKind::ImageButton) {
            EXPECT_EQ(c.picture, c.name == "按钮11" ? IDR_SCANIE_JPG : IDB_SKIN_NORMAL) << c.name;
        }
    }
}

TEST(Catalogue, TabStripsAndFixedLists) {
    ASSERT_EQ(TabControls().size(), 3u);
    const TabSpec* outer = FindTabSpec("高级选择夹1");
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->placement, TabPlacement::Left);
    EXPECT_FALSE(outer->showText);
    EXPECT_EQ(outer->icons.size(), 6u);
    const TabSpec* info = FindTabSpec("高级选择夹2");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->placement, TabPlacement::Bottom);
    ASSERT_EQ(info->texts.size(), 7u);
    EXPECT_EQ(info->texts[2], "主版");
    EXPECT_EQ(info->icons.size(), 7u);
    const TabSpec* junk = FindTabSpec("高级选择夹3");
    ASSERT_NE(junk, nullptr);
    EXPECT_EQ(junk->placement, TabPlacement::Top);
    ASSERT_EQ(junk->texts.size(), 5u);
    EXPECT_EQ(junk->texts[4], "磁盘信息");
    EXPECT_TRUE(junk->icons.empty());

    auto items = JunkPatternItems();
    ASSERT_EQ(items.size(), 37u);
    EXPECT_EQ(items.front(), "*.??$");
    EXPECT_EQ(items[16], "*.log");
    EXPECT_EQ(items[34], "0???????.nch");
    EXPECT_EQ(items.back(), "Thumbs.db");
    EXPECT_EQ(std::set<std::string_view>(items.begin(), items.end()).size(), 37u);

    auto columns = DiskTableColumns();
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].text, "磁盘");
    EXPECT_EQ(columns[0].width, 130);
    EXPECT_EQ(columns[3].text, "剩余空间 (MB)");
    EXPECT_EQ(columns[3].width, 100);
}
