// The invalid-shortcut scan against the in-memory file system and shortcut reader.
#include <cstring>
#include "fakes/FakePlatform.h"
#include "files/CheckedFiles.h"
#include "shortcuts/ShortcutScan.h"
#include "ui/ListActions.h"
#include "ui/LongWork.h"
using namespace cc;
using Kind = ShortcutTarget::Kind;
using fake::Strings;

struct ShortcutScanTest : ::testing::Test, fake::FakeProgram {
    Strings listed() { return fake::Items(ui, kShortcutList); }
};

TEST_F(ShortcutScanTest, ListsShortcutsWhoseTargetIsGoneAndAgainAtTheNextScanWithTheButtonAndCloseOffMeanwhile) {
    fs.addDrive("C:", true), fs.addDrive("E:", false), fs.addDrive("F:", true, std::nullopt);   // the scan walks every drive
    fs.addFile("C:\\Windows\\notepad.exe", "exe");
    fs.addShortcut("C:\\.lnk", {Kind::Path, "C:\\Program Files\\Old\\old.exe"}, 1500);   // the shortest name
    fs.addShortcut("C:\\notepad.lnk", {Kind::Path, "C:\\Windows\\notepad.exe"});
    fs.addShortcut("C:\\windows.LNK", {Kind::Path, "C:\\Windows"});          // a folder that exists
    fs.addShortcut("C:\\Panel.lnk", {Kind::Elsewhere, ""});                   // Control Panel, advertised
    fs.addShortcut("C:\\held.lnk", {Kind::NotJudged, ""}), fs.addShortcut("C:\\denied.lnk", {Kind::Path, "C:\\locked\\x"}), fs.hideUnder("C:\\locked\\");   // not judged
    for (const char* remote : {"\\\\server\\share\\gone.exe", "\\\\?\\UNC\\server\\x", "\\\\.\\COM9", "//server/y", "\\\\ab\\c\\d.exe", "\\\\", "\\\\?\\1:\\x"})
        fs.addShortcut("C:\\" + std::to_string(std::strlen(remote)) + ".lnk", {Kind::Path, remote});   // never probed
    fs.addShortcut("C:\\long.lnk", {Kind::Path, "\\\\?\\c:/gone"}, 10);   // a local disk's path: probed
    // Not judged: a drive that is absent, removable, or a local disk whose root does not answer; a relative path.
    int unseenCount = 0;
    for (const char* unseen : {"\\\\?\\A:\\gone", "E:\\gone.exe", "F:\\gone", "gone.exe", "C:gone"})
        fs.addShortcut("C:\\u" + std::to_string(unseenCount++) + ".lnk", {Kind::Path, unseen}, 0);
    fs.addFile("C:\\broken.lnk", std::string(500, 'x')), fs.addFile("C:\\lnk"), fs.addFile("C:\\x.lab"), fs.addFile("C:\\book");   // no target: never listed; no shortcuts
    fs.addShortcut("C:\\sub\\deeper.Lnk", {Kind::Path, "C:\\nothing"}, 100);
    fs.addShortcut("E:\\usb.lnk", {Kind::Unreadable, ""}, 30);                // no target at all: never listed
    fs.addShortcut("C:\\folder.lnk\\inside.lnk", {Kind::Path, "C:\\x"}, 10);  // in a folder named like a shortcut
    fs.addShortcut("C:\\.config\\hidden.lnk", {Kind::Path, "C:\\x"}, 10);     // dot-folder
    fs.addFolder("C:\\link", true);                                            // a junction: not followed
    fs.addShortcut("C:\\link\\loop.lnk", {Kind::Path, "C:\\x"}, 10);
    Strings seen;
    ui.setPumpHook([&](int) {
        seen.push_back(ui.caption("扫描") + (ui.disabled("扫描") ? "-" : "+") + (ui.controlBox() ? "box" : "") +
                       (ui.workProgress() == WorkProgress{WorkProgress::State::Busy} ? "busy" : ""));
    });
    for (int scan = 0; scan < 2; ++scan) {
        ui.click("扫描");
        EXPECT_EQ(fake::Items(ui, kShortcutList, true), (Strings{"C:\\.lnk", "C:\\long.lnk", "C:\\sub\\deeper.Lnk",
                                                                 "C:\\folder.lnk\\inside.lnk"}));
        EXPECT_EQ(listed().size(), 4u);   // all checked
        EXPECT_EQ(ui.caption("透明标签3") + ui.caption("扫描") + ui.caption("标签1"), "扫描结果:扫描无效文件共有 1KB");   // 1620 bytes
        EXPECT_TRUE(!ui.disabled("扫描") && ui.controlBox());
    }
    EXPECT_EQ(log("probe ").size(), 16u);   // only targets on a local disk, eight a scan
    for (const std::string& p : log("probe ")) EXPECT_TRUE(p.starts_with("probe C:") || p.starts_with("probe F:") || p.starts_with("probe \\\\?\\c:")) << p;
    EXPECT_EQ(seen, Strings(12, "扫描中..-busy"));   // C:\, Windows, sub, folder.lnk, E:\ and F:\, twice
    EXPECT_EQ(ui.workProgressShown().size(), 4u);   // busy and back to nothing, twice
    EXPECT_EQ(ui.workProgress(), WorkProgress{});
}

// A deletion shows the share done on the taskbar button in whole percents when it has more than
// kManyItems checked items, nothing when it has no more; work done inside other work hands the button back.
TEST_F(ShortcutScanTest, ADeletionOfManyItemsShowsItsShareAndWorkInsideWorkHandsTheButtonBack) {
    using S = WorkProgress::State;
    constexpr int kMany = kManyItems + 1;
    for (int checked : {kManyItems, kMany}) {
        std::vector<ListedFile> records(checked + 1);
        for (int i = 0; i <= checked; ++i)   // the first unchecked: the count is of checked items
            ui.setItemChecked(kShortcutList, ui.addItem(kShortcutList, "C:\\" + std::to_string(i) + ".lnk"), i > 0);
        DeleteCheckedFiles(ui, kShortcutList, fs, records);
        ui.clearItems(kShortcutList);
    }
    const std::vector<WorkProgress>& shown = ui.workProgressShown();
    ASSERT_EQ(shown.size(), 102u);   // 0 %, each whole percent up to 100 %, then nothing
    for (size_t i = 1; i <= 100; ++i) EXPECT_TRUE(shown[i].state == S::Share && shown[i].done > shown[i - 1].done) << i;
    EXPECT_EQ((std::vector{shown[0], shown[100], shown[101]}),
              (std::vector<WorkProgress>{{S::Share, 0, kMany}, {S::Share, kMany, kMany}, {}}));
    {
        LongWork scan(ui);
        { LongWork(ui, kMany).progress(kMany); }
        EXPECT_EQ(ui.workProgress(), WorkProgress{S::Busy});
    }
    EXPECT_EQ(ui.workProgress(), WorkProgress{});
}

TEST_F(ShortcutScanTest, DeleteTakesOnlyCheckedItemsAndAnEmptyListOffersAScanEvenDuringAScan) {
    fs.addDrive("C:", true);
    fs.addShortcut("C:\\a\\x.lnk", {Kind::Path, "C:\\none"}, 1500);
    fs.addShortcut("C:\\b\\y.lnk", {Kind::Path, "C:\\none"}, 547);
    ui.answerMessage(false), ui.click("删除");   // empty list, Cancel: nothing
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(ui.shownBoxes().at(0), (ControlModel::ShownBox{"删除项目为空,是否进行扫描?", "", MessageKind::OkCancelInfo, false}));
    ui.answerMessage(true), ui.setPumpHook([&](int pump) { if (pump == 1) ui.postClick("删除"); });   // list still empty: OK scans inside this one
    ui.click("扫描");   // the inner scan found both; the outer one then walked the rest again
    EXPECT_EQ(listed(), (Strings{"C:\\a\\x.lnk", "C:\\b\\y.lnk", "C:\\a\\x.lnk", "C:\\b\\y.lnk"}));
    EXPECT_EQ(ui.caption("标签1"), "无效文件共有 3KB");   // 4094 bytes
    SetAllChecked(ui, kShortcutList, false), ui.click("删除");   // none checked: nothing changes
    EXPECT_EQ(listed().size(), 4u);
    ui.setItemChecked(kShortcutList, 0, true), ui.setItemChecked(kShortcutList, 1, true), ui.click("删除");
    EXPECT_EQ(listed(), (Strings{"C:\\a\\x.lnk", "C:\\b\\y.lnk"}));
    EXPECT_EQ(ui.caption("标签1"), "无效文件共有 3KB");   // still the last scan's total
    // Deleted while a scan runs (entering C:\b): the total at its end counts what stays listed, w.lnk too.
    for (auto [path, size] : {std::pair{"C:\\a\\x.lnk", 1500}, {"C:\\a\\w.lnk", 2048}, {"C:\\b\\y.lnk", 547}}) fs.addShortcut(path, {Kind::Path, "C:\\none"}, size);
    fs.lockFile("C:\\a\\w.lnk");   // it will not go
    ui.setPumpHook([&, base = ui.pumpCount()](int pump) {
        if (pump == base + 3) ui.post([&] { SetAllChecked(ui, kShortcutList, true), ui.click("删除"); }); });
    ui.click("扫描");
    EXPECT_EQ(listed(), (Strings{"C:\\a\\w.lnk", "C:\\b\\y.lnk"}));
    EXPECT_EQ(ui.caption("标签1") + ui.shownBoxes().back().text, "无效文件共有 2KB有 1 个文件未能删除");   // 2595 bytes
}
