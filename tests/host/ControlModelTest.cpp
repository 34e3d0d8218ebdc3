// The in-memory control model: initial state from the catalogue, list
// semantics, property kinds, and events nested through the message pump.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/ControlModel.h"

using namespace cc;

TEST(ControlModel, StartsAsTheDesign) {
    ControlModel ui;
    EXPECT_EQ(ui.windowTitle(), "澄川清理助手 V1.0.3");
    EXPECT_EQ(ui.rect("MainWindow"), (Rect{50, 50, 584, 388}));
    EXPECT_TRUE(ui.controlBox());
    EXPECT_FALSE(ui.visible("超级链接框3"));
    EXPECT_TRUE(ui.disabled("单选框1"));
    EXPECT_FALSE(ui.checked("单选框1"));
    EXPECT_TRUE(ui.checked("单选框2"));
    EXPECT_TRUE(ui.checked("选择框1"));
    EXPECT_EQ(ui.interval("CPU时钟"), 0);
    EXPECT_EQ(ui.interval("内存时钟"), 0);
    EXPECT_EQ(ui.maximum("CPU进度"), 100);
    EXPECT_EQ(ui.position("内存进度"), 0);
    EXPECT_EQ(ui.caption("按钮1"), "扫描垃圾");
    ASSERT_EQ(ui.itemCount("选择列表框3"), 37);
    for (int i = 0; i < 37; ++i) EXPECT_FALSE(ui.itemChecked("选择列表框3", i));
    EXPECT_EQ(ui.itemCount("选择列表框1"), 0);
    EXPECT_EQ(ui.rowCount("超级列表框1"), 0);
    for (auto tabs : {"高级选择夹1", "高级选择夹2", "高级选择夹3"}) EXPECT_EQ(ui.currentTab(tabs), 0);
}

TEST(ControlModel, CheckedListAppendsUncheckedAndRemovalShiftsUp) {
    ControlModel ui;
    const char* list = "选择列表框1";
    EXPECT_EQ(ui.addItem(list, "C:\\a.tmp"), 0);
    EXPECT_EQ(ui.addItem(list, "C:\\b.tmp"), 1);
    EXPECT_EQ(ui.addItem(list, "C:\\c.tmp"), 2);
    ui.setItemChecked(list, 0, true);
    ui.setItemChecked(list, 2, true);
    EXPECT_FALSE(ui.itemChecked(list, 1));
    ui.setCurrentItem(list, 2);

    ui.removeItem(list, 1);
    ASSERT_EQ(ui.itemCount(list), 2);
    EXPECT_EQ(ui.itemText(list, 1), "C:\\c.tmp");
    EXPECT_TRUE(ui.itemChecked(list, 1));   // the check mark moves with its item
    EXPECT_EQ(ui.currentItem(list), 1);     // and so does the current item

    ui.removeItem(list, 1);
    EXPECT_EQ(ui.currentItem(list), -1);
    EXPECT_THROW(ui.itemText(list, 1), std::out_of_range);
    EXPECT_THROW(ui.removeItem(list, -1), std::out_of_range);
    ui.clearItems(list);
    EXPECT_EQ(ui.itemCount(list), 0);
}

TEST(ControlModel, PropertiesApplyOnlyToTheirKinds) {
    ControlModel ui;
    EXPECT_THROW(ui.itemCount("标签6"), std::invalid_argument);
    EXPECT_THROW(ui.itemChecked("列表框1", 0), std::invalid_argument);   // a plain list has no checks
    EXPECT_THROW(ui.setInterval("标签6", 10), std::invalid_argument);
    EXPECT_THROW(ui.caption("no such control"), std::invalid_argument);
    EXPECT_THROW(ui.setCurrentTab("高级选择夹3", 5), std::out_of_range);
    ui.setPosition("CPU进度", 250);
    EXPECT_EQ(ui.position("CPU进度"), 100);
}

TEST(ControlModel, UserActionsRaiseTheirEventsAndCodeChangesDoNot) {
    ControlModel ui;
    std::vector<std::string> seen;
    ui.on("高级选择夹2", Event::CurrentTabChanged, [&] { seen.push_back("tab " + std::to_string(ui.currentTab("高级选择夹2"))); });
    ui.on("选择框1", Event::Clicked, [&] { seen.push_back(ui.checked("选择框1") ? "checked" : "unchecked"); });
    ui.on("选择列表框3", Event::ItemSelected, [&] { seen.push_back("item " + std::to_string(ui.currentItem("选择列表框3"))); });
    ui.on("扫描", Event::Clicked, [&] { seen.push_back("scan"); });

    ui.setCurrentTab("高级选择夹2", 3);   // by code: no event
    ui.selectTab("高级选择夹2", 1);
    ui.selectTab("高级选择夹2", 1);       // the current tab again: no change
    ui.click("选择框1");
    ui.toggleItemCheck("选择列表框3", 5);
    ui.setDisabled("扫描", true);
    ui.click("扫描");                     // disabled: no click
    ui.setDisabled("扫描", false);
    ui.click("扫描");

    EXPECT_EQ(seen, (std::vector<std::string>{"tab 1", "unchecked", "item 5", "scan"}));
    EXPECT_TRUE(ui.itemChecked("选择列表框3", 5));
}

TEST(ControlModel, PagesHideTheirControls) {
    ControlModel ui;
    EXPECT_TRUE(ui.shown("图片框9"));        // outer tab 0, inner tab 0
    EXPECT_FALSE(ui.shown("CPU信息标签"));   // inner tab 1
    EXPECT_FALSE(ui.shown("按钮1"));         // outer tab 3
    ui.selectTab("高级选择夹1", 3);
    EXPECT_TRUE(ui.shown("按钮1"));
    EXPECT_FALSE(ui.shown("图片框9"));
    ui.selectTab("高级选择夹3", 3);
    EXPECT_TRUE(ui.shown("单选框2"));        // inside a group box on the page
    EXPECT_FALSE(ui.shown("按钮1"));
    ui.selectTab("高级选择夹1", 4);
    EXPECT_FALSE(ui.shown("超级链接框1"));   // on the page, but hidden itself
}

TEST(ControlModel, HandlersNestInsideALongHandlerThroughThePump) {
    ControlModel ui;
    std::vector<std::string> order;
    bool stop = false;
    ui.on("按钮1", Event::Clicked, [&] {
        order.push_back("scan begins");
        for (int folder = 0; folder < 5 && !stop; ++folder) {
            order.push_back("folder " + std::to_string(folder));
            ui.processPendingMessages();
        }
        order.push_back("scan ends");
    });
    ui.on("按钮3", Event::Clicked, [&] { order.push_back("check all"); });
    ui.on("按钮4", Event::Clicked, [&] {
        order.push_back("stop");
        stop = true;
    });
    ui.setPumpHook([&](int pump) {
        if (pump == 2) ui.postClick("按钮3");
        if (pump == 3) ui.postClick("按钮4");
    });

    ui.click("按钮1");
    EXPECT_EQ(order, (std::vector<std::string>{"scan begins", "folder 0", "folder 1", "check all", "folder 2",
                                               "stop", "scan ends"}));
    EXPECT_EQ(ui.pumpCount(), 3);
}

TEST(ControlModel, ACloseDuringAPumpEndsTheWindowAndGuardsItsControls) {
    ControlModel ui;
    int foldersAfterClose = 0;
    ui.on("扫描", Event::Clicked, [&] {
        for (int folder = 0; folder < 10; ++folder) {
            ui.setCaption("标签1", "folder " + std::to_string(folder));
            ui.processPendingMessages();
            if (ui.windowClosed()) return;
            if (folder >= 2) ++foldersAfterClose;
        }
    });
    ui.setPumpHook([&](int pump) {
        if (pump == 2) {
            ui.postClose();
            ui.postClick("删除");   // queued behind the close: never delivered
        }
    });
    bool deleted = false;
    ui.on("删除", Event::Clicked, [&] { deleted = true; });

    ui.click("扫描");
    EXPECT_TRUE(ui.windowClosed());
    EXPECT_EQ(foldersAfterClose, 0);
    EXPECT_FALSE(deleted);
    EXPECT_THROW(ui.caption("标签1"), ControlUsedAfterClose);
    ui.processPendingMessages();   // harmless once closed
}

TEST(ControlModel, WindowResizeRaisesSizeChangedOnlyWhenTheSizeChanges) {
    ControlModel ui;
    int sizeChanges = 0;
    ui.on("MainWindow", Event::SizeChanged, [&] { ++sizeChanges; });
    ui.show();
    ui.setRect("MainWindow", {10, 10, 584, 388});   // a move
    ui.setRect("MainWindow", {10, 10, 600, 400});
    EXPECT_EQ(sizeChanges, 2);
    EXPECT_EQ(ui.rect("MainWindow"), (Rect{10, 10, 600, 400}));
}

TEST(ControlModel, ModalBoxesTakeTheAnswersTheTestGives) {
    ControlModel ui;
    ui.answerMessage(false);
    ui.answerInput("*.abc");
    ui.answerInput(std::nullopt);
    EXPECT_FALSE(ui.messageBox("删除项目为空,是否进行扫描?", "", MessageKind::OkCancelInfo));
    EXPECT_TRUE(ui.messageBox("修复完毕.", "澄川清理助手", MessageKind::Ok));   // no answer left: OK
    std::string typed = "unchanged";
    EXPECT_TRUE(ui.inputBox("添加一个文件类型,如: *.tmp", "添加文件类型", typed));
    EXPECT_EQ(typed, "*.abc");
    EXPECT_FALSE(ui.inputBox("添加一个文件类型,如: *.tmp", "添加文件类型", typed));
    EXPECT_EQ(typed, "*.abc");   // a cancelled box leaves the text as it was
    ASSERT_EQ(ui.shownBoxes().size(), 4u);
    EXPECT_EQ(ui.shownBoxes()[0].kind, MessageKind::OkCancelInfo);
    EXPECT_TRUE(ui.shownBoxes()[3].input);
}
