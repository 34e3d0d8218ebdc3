// The junk scan against the in-memory file system: walk order, what it skips,
// stop and other clicks nested through the pump, the estimate and deletion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Program.h"
#include "fakes/FakePlatform.h"
#include "junk/DiskSpace.h"
#include "junk/JunkScan.h"
#include "junk/PatternList.h"
#include "ui/ControlModel.h"

using namespace cc;

namespace {

struct JunkScanTest : ::testing::Test {
    ControlModel ui;
    fake::FakePlatform fakes;
    fake::MemoryFileSystem& fs = fakes.files;
    Program program{ui, fakes.platform};

    void SetUp() override {
        fs.addDrive("C:", true, DriveSpace{100ull << 20, 40ull << 20});
        fs.addDrive("D:", true, DriveSpace{50ull << 20, 50ull << 20});
        ui.click("选择框1");   // lists every drive, all checked
        ui.click("选择框1");   // and again: only the local disks
    }
    void checkPatterns(std::initializer_list<std::string> patterns) {
        for (int i = 0; i < ui.itemCount(kPatternList); ++i) {
            std::string text = ui.itemText(kPatternList, i);
            ui.setItemChecked(kPatternList, i, std::find(patterns.begin(), patterns.end(), text) != patterns.end());
        }
    }
    std::vector<std::string> results() {
        std::vector<std::string> items;
        for (int i = 0; i < ui.itemCount(kResultList); ++i) items.push_back(ui.itemText(kResultList, i));
        return items;
    }
    bool allResultsChecked() {
        for (int i = 0; i < ui.itemCount(kResultList); ++i)
            if (!ui.itemChecked(kResultList, i)) return false;
        return true;
    }
};

}  // namespace

TEST_F(JunkScanTest, WalksDepthFirstPatternByPatternAndListsDuplicates) {
    fs.addFileOfSize("C:\\a.log", 100);
    fs.addFileOfSize("C:\\~x.tmp", 10);      // matched by "*.tmp" and "~*.*"
    fs.addFileOfSize("C:\\b.tmp", 1);
    fs.addFileOfSize("C:\\sub\\inner\\deep.tmp", 1000);
    fs.addFileOfSize("C:\\sub\\c.log", 5);
    fs.addFileOfSize("C:\\keep.txt", 7);
    fs.addFileOfSize("D:\\Thumbs.db", 2);
    checkPatterns({"*.log", "*.tmp", "~*.*", "Thumbs.db"});

    ui.click("按钮1");   // the first click, on "扫描垃圾", starts a scan
    EXPECT_EQ(results(), (std::vector<std::string>{"C:\\a.log", "C:\\~x.tmp", "C:\\b.tmp", "C:\\~x.tmp",
                                                   "C:\\sub\\c.log", "C:\\sub\\inner\\deep.tmp", "D:\\Thumbs.db"}));
    EXPECT_TRUE(allResultsChecked());
    EXPECT_EQ(ui.caption("按钮1"), "扫描");
    EXPECT_EQ(ui.windowTitle(), "澄川清理专家");
    EXPECT_EQ(ui.caption("标签6"), "扫描到的文件约有1.102KB");   // 1128 bytes, the duplicate twice
}

TEST_F(JunkScanTest, SkipsDotFoldersReparsePointsAndUnreadableFolders) {
    fs.addFileOfSize("C:\\.hidden\\x.tmp", 1);
    fs.addFileOfSize("C:\\.git\\objects\\y.tmp", 1);
    fs.addFolder("C:\\loop", true);   // a junction, perhaps back to C:\ itself
    fs.addFileOfSize("C:\\locked\\z.tmp", 1);
    fs.denyFolder("C:\\locked");
    fs.addFileOfSize("C:\\ok\\w.tmp", 1);
    checkPatterns({"*.tmp"});
    ui.click("按钮1");
    EXPECT_EQ(results(), (std::vector<std::string>{"C:\\ok\\w.tmp"}));
    for (const auto& line : fs.log()) {
        EXPECT_EQ(line.find(".git"), std::string::npos) << line;
        EXPECT_EQ(line.find("loop"), std::string::npos) << line;
    }
}

TEST_F(JunkScanTest, NoCheckedPatternLeavesEverythingAsItWas) {
    fs.addFileOfSize("C:\\a.tmp", 1);
    ui.addItem(kResultList, "C:\\earlier.tmp");
    ui.setCaption("标签6", "old");
    ui.click("按钮1");
    EXPECT_EQ(results(), (std::vector<std::string>{"C:\\earlier.tmp"}));
    EXPECT_EQ(ui.caption("按钮1"), "扫描垃圾");
    EXPECT_EQ(ui.windowTitle(), "澄川清理助手 V1.0.3");
    EXPECT_EQ(ui.caption("标签6"), "");
    EXPECT_TRUE(fs.log().empty() || fs.log().back().rfind("list", 0) != 0);
}

TEST_F(JunkScanTest, WithNoDriveCheckedTheScanFindsNothing) {
    fs.addFileOfSize("C:\\a.tmp", 1);
    checkPatterns({"*.tmp"});
    ui.click("按钮6");
    ui.click("按钮1");
    EXPECT_TRUE(results().empty());
    EXPECT_EQ(ui.caption("标签6"), "扫描到的文件约有0.000KB");
    EXPECT_EQ(ui.windowTitle(), "澄川清理专家");
}

TEST_F(JunkScanTest, TheTitleShowsEachFolderAsItIsEntered) {
    fs.addFileOfSize("C:\\one\\a.tmp", 1);
    fs.addFileOfSize("C:\\two\\b.tmp", 1);
    checkPatterns({"*.tmp"});
    std::vector<std::string> titles;
    ui.setPumpHook([&](int) { titles.push_back(ui.windowTitle()); });
    ui.click("按钮1");
    EXPECT_EQ(titles, (std::vector<std::string>{"澄川清理助手 V1.0.3", "C:\\one", "C:\\two", "C:\\"}));
}

TEST_F(JunkScanTest, AStopClickKeepsThePartialResultsAllChecked) {
    for (int f = 0; f < 5; ++f) fs.addFileOfSize("C:\\f" + std::to_string(f) + "\\x.tmp", 1024);
    checkPatterns({"*.tmp"});
    // The user unchecks what was found so far, then stops, while folder f2 is entered.
    ui.setPumpHook([&](int pump) {
        if (pump == 4) {
            ui.postClick("按钮4");
            ui.postClick("按钮1");
        }
    });
    ui.click("按钮1");
    EXPECT_EQ(results(), (std::vector<std::string>{"C:\\f0\\x.tmp", "C:\\f1\\x.tmp"}));
    EXPECT_TRUE(allResultsChecked());
    EXPECT_EQ(ui.caption("标签6"), "扫描到的文件约有2.000KB");
    EXPECT_EQ(ui.caption("按钮1"), "扫描");
    EXPECT_EQ(ui.windowTitle(), "澄川清理专家");
    // Only the folders entered before the stop were listed.
    int listings = 0;
    for (const auto& line : fs.log()) listings += line.rfind("list", 0) == 0;
    EXPECT_EQ(listings, 3);   // C:\, f0, f1
}

TEST_F(JunkScanTest, PatternAndDriveChangesDuringTheScanApplyToLaterFolders) {
    fs.addFileOfSize("C:\\a\\x.tmp", 1);
    fs.addFileOfSize("C:\\a\\x.log", 1);
    fs.addFileOfSize("C:\\b\\y.tmp", 1);
    fs.addFileOfSize("C:\\b\\y.log", 1);
    fs.addFileOfSize("D:\\z.log", 1);
    checkPatterns({"*.tmp"});
    ui.setPumpHook([&](int pump) {
        if (pump == 3) ui.post([&] { ui.toggleItemCheck(kPatternList, 16); });   // "*.log" on, entering C:\b
        if (pump == 3) ui.post([&] { ui.setItemChecked(kDriveList, 1, false); });  // D: off before it is reached
    });
    ui.click("按钮1");
    EXPECT_EQ(results(), (std::vector<std::string>{"C:\\a\\x.tmp", "C:\\b\\y.log", "C:\\b\\y.tmp"}));
}

TEST_F(JunkScanTest, RebuildingTheDriveListDuringTheScanIsReadAfresh) {
    fs.addFileOfSize("C:\\x.tmp", 1);
    fs.addFileOfSize("D:\\y.tmp", 1);
    fs.addDrive("E:", false);
    fs.addFileOfSize("E:\\z.tmp", 1);
    checkPatterns({"*.tmp"});
    ui.setPumpHook([&](int pump) {
        if (pump == 1) ui.postClick("选择框1");   // now all drives: C:, D:, E:
    });
    ui.click("按钮1");
    EXPECT_EQ(results(), (std::vector<std::string>{"C:\\x.tmp", "D:\\y.tmp", "E:\\z.tmp"}));
}

TEST_F(JunkScanTest, ANewScanDuringTheUnwindingRunsNestedAndTheOuterOneFinishes) {
    for (int f = 0; f < 3; ++f) fs.addFileOfSize("C:\\f" + std::to_string(f) + "\\x.tmp", 1);
    checkPatterns({"*.tmp"});
    ui.setPumpHook([&](int pump) {
        if (pump == 3) ui.postClick("按钮1");   // stop
        if (pump == 4) {
            ui.setPumpHook(nullptr);
            ui.postClick("按钮1");               // a new scan, nested in the unwinding
        }
    });
    ui.click("按钮1");
    EXPECT_EQ(results().size(), 3u);   // the nested scan's full result
    EXPECT_TRUE(allResultsChecked());
    EXPECT_EQ(ui.caption("按钮1"), "扫描");
    EXPECT_EQ(ui.caption("标签6"), "扫描到的文件约有0.003KB");
}

TEST_F(JunkScanTest, ClosingTheWindowDuringTheScanEndsItWithoutTouchingControls) {
    for (int f = 0; f < 5; ++f) fs.addFileOfSize("C:\\f" + std::to_string(f) + "\\x.tmp", 1);
    checkPatterns({"*.tmp"});
    ui.setPumpHook([&](int pump) {
        if (pump == 3) ui.postClose();
    });
    EXPECT_NO_THROW(ui.click("按钮1"));   // the model throws on any control touched after the close
    EXPECT_TRUE(ui.windowClosed());
    EXPECT_EQ(ui.pumpCount(), 3);
}

TEST_F(JunkScanTest, DeleteRemovesOnlyCheckedItemsAndRefreshesTheTable) {
    fs.addFileOfSize("C:\\~x.tmp", 10);
    fs.addFileOfSize("C:\\keep.tmp", 10);
    fs.addFileOfSize("C:\\inuse.tmp", 10);
    fs.lockFile("C:\\inuse.tmp");
    checkPatterns({"*.tmp", "~*.*"});
    ui.click("按钮1");
    ASSERT_EQ(results(), (std::vector<std::string>{"C:\\~x.tmp", "C:\\keep.tmp", "C:\\inuse.tmp", "C:\\~x.tmp"}));
    ui.setItemChecked(kResultList, 1, false);
    fs.addDrive("X:", true);   // not in the drive array: the table does not show it
    ui.click("按钮2");

    EXPECT_EQ(results(), (std::vector<std::string>{"C:\\keep.tmp"}));
    EXPECT_FALSE(ui.itemChecked(kResultList, 0));
    EXPECT_FALSE(fs.has("C:\\~x.tmp"));
    EXPECT_TRUE(fs.has("C:\\keep.tmp"));
    EXPECT_TRUE(fs.has("C:\\inuse.tmp"));   // could not be deleted, left the list all the same
    EXPECT_EQ(ui.caption("标签6"), "");
    EXPECT_EQ(ui.rowCount(kDiskTable), 2);
    // The second item of the duplicate failed silently; nothing unchecked was touched.
    std::vector<std::string> deletions;
    for (const auto& line : fs.log())
        if (line.rfind("delete", 0) == 0) deletions.push_back(line);
    EXPECT_EQ(deletions, (std::vector<std::string>{"delete C:\\~x.tmp", "delete C:\\inuse.tmp", "delete C:\\~x.tmp"}));
}

TEST_F(JunkScanTest, DeleteOnAnEmptyListOffersAScan) {
    fs.addFileOfSize("C:\\a.tmp", 1);
    checkPatterns({"*.tmp"});
    ui.answerMessage(false);
    ui.click("按钮2");
    EXPECT_TRUE(results().empty());
    ASSERT_EQ(ui.shownBoxes().size(), 1u);
    EXPECT_EQ(ui.shownBoxes()[0], (ControlModel::ShownBox{"删除项目为空,是否进行扫描?", "", MessageKind::OkCancelInfo, false}));
    ui.answerMessage(true);
    ui.click("按钮2");
    EXPECT_EQ(results(), (std::vector<std::string>{"C:\\a.tmp"}));
    EXPECT_TRUE(fs.has("C:\\a.tmp"));   // found and checked, but not deleted
    EXPECT_EQ(ui.caption("标签6"), "扫描到的文件约有0.001KB");
}

TEST_F(JunkScanTest, ADeleteClickDuringTheScanDeletesThePartialCheckedResults) {
    fs.addFileOfSize("C:\\a\\x.tmp", 1);
    fs.addFileOfSize("C:\\b\\y.tmp", 1);
    checkPatterns({"*.tmp"});
    ui.setPumpHook([&](int pump) {
        if (pump == 3) ui.post([&] {
            ui.click("按钮3");   // check what there is so far, then delete it
            ui.click("按钮2");
        });
    });
    ui.click("按钮1");
    EXPECT_FALSE(fs.has("C:\\a\\x.tmp"));
    EXPECT_EQ(results(), (std::vector<std::string>{"C:\\b\\y.tmp"}));
    EXPECT_EQ(ui.caption("标签6"), "扫描到的文件约有0.001KB");   // the estimate counts what is listed
}

TEST(SizeEstimate, BoundariesBetweenKilobytesAndMegabytes) {
    EXPECT_EQ(SizeEstimateText(0), "扫描到的文件约有0.000KB");
    EXPECT_EQ(SizeEstimateText(1536), "扫描到的文件约有1.500KB");
    EXPECT_EQ(SizeEstimateText(1048575), "扫描到的文件约有1023.999KB");
    EXPECT_EQ(SizeEstimateText(1048576), "扫描到的文件约有1.000MB");
    EXPECT_EQ(SizeEstimateText(3145728), "扫描到的文件约有3.000MB");
    EXPECT_EQ(SizeEstimateText(5ull << 30), "扫描到的文件约有5120.000MB");   // past 4 GiB
    EXPECT_EQ(SizeEstimateText((1ull << 40) + (1ull << 19)), "扫描到的文件约有1048576.500MB");
}

TEST(DiskTable, WholeMegabytesWithUsedAsTheirDifference) {
    ControlModel ui;
    fake::FakePlatform fakes;
    Program program{ui, fakes.platform};
    fakes.files.addDrive("C:", true, DriveSpace{1048575ull * 1024, 0});                 // 1023.999 MB
    fakes.files.addDrive("D:", true, DriveSpace{1536ull * 1024, 1023ull * 1024});       // 1.5 MB, just under 1 MB free
    fakes.files.addDrive("E:", false, std::nullopt);                                     // no medium
    fakes.files.addDrive("F:", true, DriveSpace{6ull << 40, 2ull << 40});               // 6 TiB

    EXPECT_EQ(ui.itemCount(kDriveList), 0);   // nothing until the box is clicked
    ui.click("选择框1");                      // unchecked now: every drive
    ASSERT_EQ(ui.itemCount(kDriveList), 4);
    EXPECT_EQ(ui.itemText(kDriveList, 2), "E:\\");
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(ui.itemChecked(kDriveList, i));
    EXPECT_EQ(program.state().drives, (std::vector<std::string>{"C:", "D:", "E:", "F:"}));
    ASSERT_EQ(ui.rowCount(kDiskTable), 4);
    EXPECT_EQ(ui.row(kDiskTable, 0), (std::vector<std::string>{"C:\\", "1023", "1023", "0"}));
    EXPECT_EQ(ui.row(kDiskTable, 1), (std::vector<std::string>{"D:\\", "1", "1", "0"}));
    EXPECT_EQ(ui.row(kDiskTable, 2), (std::vector<std::string>{"E:\\", "", "", ""}));
    EXPECT_EQ(ui.row(kDiskTable, 3), (std::vector<std::string>{"F:\\", "6291456", "4194304", "2097152"}));

    ui.click("按钮6");
    EXPECT_FALSE(ui.itemChecked(kDriveList, 0));
    ui.click("选择框1");   // checked again: local disks only, all checked
    EXPECT_EQ(ui.itemCount(kDriveList), 3);
    EXPECT_TRUE(ui.itemChecked(kDriveList, 0));
    EXPECT_EQ(ui.rowCount(kDiskTable), 3);
}
