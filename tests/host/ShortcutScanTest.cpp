// The invalid-shortcut scan against the in-memory file system and shortcut reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Program.h"
#include "fakes/FakePlatform.h"
#include "shortcuts/ShortcutScan.h"
#include "ui/ListActions.h"
#include "ui/ControlModel.h"

using namespace cc;
using Kind = ShortcutTarget::Kind;
using Strings = std::vector<std::string>;

namespace {

struct ShortcutScanTest : ::testing::Test {
    ControlModel ui;
    fake::FakePlatform fakes;
    fake::MemoryFileSystem& fs = fakes.files;
    Program program{ui, fakes.platform};

    void SetUp() override {
        fs.addDrive("C:", true);
        fs.addDrive("E:", false);   // not local: the scan walks every drive
        fs.addFile("C:\\Windows\\notepad.exe", "exe");
        fs.addFolder("C:\\Games");
    }
    Strings listed() {
        Strings items;
        for (int i = 0; i < ui.itemCount(kShortcutList); ++i) items.push_back(ui.itemText(kShortcutList, i));
        return items;
    }
};

}  // namespace

TEST_F(ShortcutScanTest, ListsOnlyShortcutsWhoseTargetIsGoneWithTheButtonAndCloseOffMeanwhile) {
    fs.addShortcut("C:\\gone.lnk", {Kind::Path, "C:\\Program Files\\Old\\old.exe"}, 600);
    fs.addShortcut("C:\\notepad.lnk", {Kind::Path, "C:\\Windows\\notepad.exe"});
    fs.addShortcut("C:\\games.LNK", {Kind::Path, "C:\\Games"});              // a folder that exists
    fs.addShortcut("C:\\Panel.lnk", {Kind::Elsewhere, ""});                   // Control Panel, advertised
    fs.addShortcut("C:\\held.lnk", {Kind::InUse, ""});                        // not judged, so not listed
    fs.addFile("C:\\broken.lnk", std::string(500, 'x'));                      // random bytes: unreadable
    fs.addShortcut("C:\\sub\\deeper.Lnk", {Kind::Path, "D:\\nothing"}, 100);
    fs.addShortcut("E:\\usb.lnk", {Kind::Path, ""}, 30);                      // no target at all
    fs.addFolder("C:\\folder.lnk");                                            // a folder, not a shortcut
    fs.addShortcut("C:\\folder.lnk\\inside.lnk", {Kind::Path, "C:\\x"}, 10);
    fs.addShortcut("C:\\.config\\hidden.lnk", {Kind::Path, "C:\\x"}, 10);     // dot-folder
    fs.addFolder("C:\\link", true);                                            // a junction: not followed
    fs.addShortcut("C:\\link\\loop.lnk", {Kind::Path, "C:\\x"}, 10);
    Strings seen;
    ui.setPumpHook([&](int) {
        seen.push_back(ui.caption("扫描") + (ui.disabled("扫描") ? " disabled" : "") + (ui.controlBox() ? " box" : ""));
    });
    ui.click("扫描");
    EXPECT_EQ(listed(), (Strings{"C:\\gone.lnk", "C:\\broken.lnk", "C:\\sub\\deeper.Lnk", "C:\\folder.lnk\\inside.lnk",
                                 "E:\\usb.lnk"}));
    for (int i = 0; i < ui.itemCount(kShortcutList); ++i) EXPECT_TRUE(ui.itemChecked(kShortcutList, i));
    EXPECT_EQ(ui.caption("标签1"), "无效文件共有 1KB");   // 1240 bytes
    EXPECT_EQ(ui.caption("透明标签3"), "扫描结果:");
    EXPECT_EQ(ui.caption("扫描"), "扫描");
    EXPECT_FALSE(ui.disabled("扫描"));
    EXPECT_TRUE(ui.controlBox());
    EXPECT_EQ(seen, Strings(6, "扫描中.. disabled"));   // C:\, Windows, Games, sub, folder.lnk, E:\ .
}

TEST_F(ShortcutScanTest, RootShortcutsHaveOneBackslashAndASecondScanGivesTheSameList) {
    fs.addShortcut("C:\\a.lnk", {Kind::Path, "C:\\none"}, 1023);
    for (const char* total : {"无效文件共有 0KB", "无效文件共有 0KB"}) {   // 1023 bytes
        ui.click("扫描");
        EXPECT_EQ(listed(), (Strings{"C:\\a.lnk"}));
        EXPECT_EQ(ui.caption("标签1"), total);
    }
    fs.addShortcut("C:\\b.lnk", {Kind::Path, "C:\\none"}, 1);
    ui.click("扫描");
    EXPECT_EQ(ui.caption("标签1"), "无效文件共有 1KB");   // 1024 bytes
}

TEST_F(ShortcutScanTest, DeleteTakesOnlyCheckedItemsAndAnEmptyListOffersAScan) {
    fs.addShortcut("C:\\a.lnk", {Kind::Path, "C:\\none"});
    fs.addShortcut("C:\\b.lnk", {Kind::Path, "C:\\none"});
    ui.answerMessage(false);
    ui.click("删除");   // empty list, Cancel: nothing
    EXPECT_TRUE(listed().empty());
    ui.answerMessage(true);
    ui.click("删除");   // OK: a full scan, nothing deleted
    EXPECT_EQ(listed().size(), 2u);
    SetAllChecked(ui, kShortcutList, false);
    ui.click("删除");   // none checked: nothing changes
    EXPECT_EQ(listed().size(), 2u);
    ui.setItemChecked(kShortcutList, 1, true);
    ui.click("删除");
    EXPECT_EQ(listed(), (Strings{"C:\\a.lnk"}));
    EXPECT_TRUE(!fs.has("C:\\b.lnk") && fs.has("C:\\a.lnk"));
    EXPECT_EQ(ui.caption("标签1"), "无效文件共有 2KB");   // still the last scan's total
    ASSERT_EQ(ui.shownBoxes().size(), 2u);
    EXPECT_EQ(ui.shownBoxes()[0], (ControlModel::ShownBox{"删除项目为空,是否进行扫描?", "", MessageKind::OkCancelInfo, false}));
}

TEST_F(ShortcutScanTest, ClosingTheWindowEndsTheScanAndADeleteClickStartsASecondScanInside) {
    fs.addShortcut("C:\\a\\x.lnk", {Kind::Path, "C:\\none"});
    fs.addShortcut("C:\\b\\y.lnk", {Kind::Path, "C:\\none"});
    ui.answerMessage(true);
    ui.setPumpHook([&](int pump) {
        if (pump == 1) ui.postClick("删除");   // list still empty: OK runs a scan inside this one
    });
    ui.click("扫描");
    // The inner scan found both; the outer one then walked the rest again.
    EXPECT_EQ(listed(), (Strings{"C:\\a\\x.lnk", "C:\\b\\y.lnk", "C:\\a\\x.lnk", "C:\\b\\y.lnk"}));
    EXPECT_EQ(ui.caption("扫描"), "扫描");
    ui.setPumpHook([&](int pump) {
        if (pump == 14) ui.postClose();   // the second folder of the next scan
    });
    EXPECT_NO_THROW(ui.click("扫描"));   // the model throws on any control touched after the close
    EXPECT_EQ(ui.pumpCount(), 14);
}
