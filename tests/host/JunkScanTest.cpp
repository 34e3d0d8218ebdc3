// The junk scan against the in-memory file system: walk order, what it skips, stop and other clicks
// nested through the pump, the estimate and deletion.
#include <pthread.h>
#include "fakes/FakePlatform.h"
#include "junk/DiskSpace.h"
#include "junk/JunkScan.h"
#include "junk/PatternList.h"
#include "shortcuts/ShortcutScan.h"
using namespace cc;
using fake::Strings;

struct JunkScanTest : ::testing::Test, fake::FakeProgram {
    void SetUp() override {
        fs.addDrive("C:", true, DriveSpace{100ull << 20, 40ull << 20}), fs.addDrive("D:", true, DriveSpace{50ull << 20, 50ull << 20});
        ui.click("选择框1"), ui.click("选择框1");   // every drive, then only the local disks, all checked
    }
    void checkPatterns(std::initializer_list<std::string> patterns) {
        for (int i = 0; i < ui.itemCount(kPatternList); ++i)
            ui.setItemChecked(kPatternList, i, std::count(patterns.begin(), patterns.end(), ui.itemText(kPatternList, i)));
    }
    Strings results(bool checkedOnly = false) { return fake::Items(ui, kResultList, checkedOnly); }
};
// Drive C: alone of a file system a test makes, every drive and the recommended patterns chosen.
template <class P> ControlModel& Chosen(P& p) { return p.fs.addDrive("C:", true), p.ui.click("选择框1"), p.ui.click("按钮10"), p.ui; }

TEST_F(JunkScanTest, WalksDepthFirstPatternByPatternAndSkipsDotFoldersAndLinks) {
    for (auto [path, size] : std::vector<std::pair<std::string, size_t>>{{"C:\\a.log", 100}, {"C:\\~x.tmp", 10}, {"C:\\b.tmp", 1},
             {"C:\\sub\\inner\\deep.tmp", 1000}, {"C:\\sub\\c.log", 5}, {"C:\\keep.txt", 7}, {"D:\\Thumbs.db", 2},
             {"C:\\.git\\objects\\y.tmp", 1}, {"C:\\chklist", 4}})
        fs.addFile(path, std::string(size, 'x'));
    fs.addFolder("C:\\loop", true);   // a junction, perhaps back to C:\ itself
    checkPatterns({"*.log", "*.tmp", "~*.*", "chklist.*", "Thumbs.db"});
    ui.click("按钮1");   // the first click, on "扫描垃圾", starts a scan
    EXPECT_EQ(results(), (Strings{"C:\\chklist", "C:\\a.log", "C:\\~x.tmp", "C:\\b.tmp", "C:\\~x.tmp", "C:\\sub\\c.log",
                                  "C:\\sub\\inner\\deep.tmp", "D:\\Thumbs.db"}));
    EXPECT_EQ(results(true), results());   // 1132 bytes, the duplicate twice:
    EXPECT_EQ(ui.caption("按钮1") + ui.windowTitle() + ui.caption("标签6"), "扫描澄川清理专家扫描到的文件约有1.105KB");
    EXPECT_EQ(log("list"), (Strings{"list C:\\", "list C:\\sub\\", "list C:\\sub\\inner\\", "list D:\\"}));
}

TEST_F(JunkScanTest, TheTitleShowsEachFolderOfThisScanOnlyAndNothingRunsWithoutAPattern) {
    fs.addFile("C:\\one\\a.tmp"), fs.addFile("C:\\two\\b.tmp");
    ui.addItem(kResultList, "C:\\earlier.tmp"), ui.setCaption("标签6", "old");
    using Box = ControlModel::ShownBox;
    const Box noPattern{"请先在“类型”页勾选要查找的文件类型。", "澄川清理助手", MessageKind::OkInfo};
    const Box noDrive{"请先在“磁盘”页勾选要扫描的磁盘。", "澄川清理助手", MessageKind::OkInfo};
    ui.click("按钮1");   // no pattern checked: it says so, and nothing else changes
    EXPECT_EQ(ui.shownBoxes(), std::vector<Box>{noPattern});
    EXPECT_EQ(results(), (Strings{"C:\\earlier.tmp"}));
    EXPECT_EQ(ui.caption("按钮1") + ui.caption("标签6") + ui.windowTitle(), "扫描垃圾old澄川清理助手 V1.0.3");
    EXPECT_TRUE(log("list").empty() && ui.workProgressShown().empty());
    checkPatterns({"*.tmp"});
    Strings titles;
    ui.setPumpHook([&](int) { titles.push_back(ui.windowTitle()); });
    ui.click("按钮1");
    EXPECT_EQ(titles, (Strings{"澄川清理助手 V1.0.3", "C:\\one", "C:\\two", "C:\\"}));
    EXPECT_EQ(ui.workProgressShown(), (std::vector<WorkProgress>{{WorkProgress::State::Busy}, {}}));   // on the taskbar button
    titles.clear();
    ui.setItemChecked(kDriveList, 0, false);   // now D: alone: no folder of the scan before
    ui.click("按钮1");
    EXPECT_EQ(titles, (Strings{"澄川清理专家"}));
    ui.click("按钮6"), ui.click("按钮1");   // no drive at all: it says so, the last scan's estimate stays
    EXPECT_EQ(ui.shownBoxes(), (std::vector<Box>{noPattern, noDrive}));
    EXPECT_EQ(ui.caption("标签6"), "扫描到的文件约有0.000KB");
    EXPECT_EQ(titles.size(), 1u);
}

// A new user's first look at the junk pages: the local disks listed and checked as the check box shows, and each
// drive in the table in whole megabytes, used as their difference.
TEST(JunkFirstScan, TheLocalDisksAreListedAllCheckedWhenTheJunkPagesFirstShow) {
    fake::FakeProgram p;
    p.fs.addDrive("C:", true, DriveSpace{1048575ull * 1024, 0});             // 1023.999 MB
    p.fs.addDrive("E:", false, std::nullopt);                                 // no medium
    p.fs.addDrive("D:", true, DriveSpace{1536ull * 1024, 1023ull * 1024});   // 1.5 MB, just under 1 MB free
    p.fs.addDrive("F:", true, DriveSpace{6ull << 40, 2ull << 40});           // 6 TiB
    p.fs.addDrive("G:", true, DriveSpace{10ull << 20, 30ull << 20});         // a quota below the free space
    p.ui.selectTab("高级选择夹1", 1);
    EXPECT_EQ(p.ui.itemCount(kDriveList), 0);   // nothing asked before the junk pages show
    p.ui.selectTab("高级选择夹1", 3);
    EXPECT_TRUE(p.ui.checked("选择框1"));
    EXPECT_EQ(fake::Items(p.ui, kDriveList, true), (Strings{"C:\\", "D:\\", "F:\\", "G:\\"}));
    EXPECT_EQ(p.ui.row(kDiskTable, 0), (Strings{"C:\\", "1023", "1023", "0"}));
    p.ui.setItemChecked(kDriveList, 0, false);   // the user's choice stays when the pages show again
    p.ui.selectTab("高级选择夹1", 0), p.ui.selectTab("高级选择夹1", 3);
    EXPECT_EQ(fake::Items(p.ui, kDriveList, true), (Strings{"D:\\", "F:\\", "G:\\"}));
    p.ui.click("选择框1");   // from then on the box works as it always did: every drive, all checked
    EXPECT_EQ(fake::Items(p.ui, kDriveList, true), (Strings{"C:\\", "E:\\", "D:\\", "F:\\", "G:\\"}));
    const Strings rows[] = {{"C:\\", "1023", "1023", "0"}, {"E:\\", "", "", ""}, {"D:\\", "1", "1", "0"},
                            {"F:\\", "6291456", "4194304", "2097152"}, {"G:\\", "10", "-20", "30"}};
    for (int r = 0; r < 5; ++r) EXPECT_EQ(p.ui.row(kDiskTable, r), rows[r]);
    p.ui.click("选择框1");   // checked again: local disks only
    EXPECT_EQ(p.ui.itemCount(kDriveList), 4);
}

TEST_F(JunkScanTest, AStopClickKeepsThePartialResultsAllCheckedAndAClosedWindowEndsTheScan) {
    for (int f = 0; f < 5; ++f) fs.addFile("C:\\f" + std::to_string(f) + "\\x.tmp", std::string(1024, 'x'));
    checkPatterns({"*.tmp"});
    ui.setPumpHook([&](int pump) { if (pump == 4) ui.postClick("按钮4"), ui.postClick("按钮1"); });   // uncheck, stop: entering f2
    ui.click("按钮1");
    EXPECT_EQ(results(), (Strings{"C:\\f0\\x.tmp", "C:\\f1\\x.tmp"}));
    EXPECT_EQ(results(true), results());
    EXPECT_EQ(ui.caption("按钮1") + ui.windowTitle() + ui.caption("标签6"), "扫描澄川清理专家扫描到的文件约有2.000KB");
    EXPECT_EQ(log("list").size(), 3u);   // C:\, f0, f1
    // A delete queued right behind the stop finds what was listed checked already, and takes it all.
    int base = ui.pumpCount();
    ui.setPumpHook([&](int pump) { if (pump == base + 4) ui.postClick("按钮4"), ui.postClick("按钮1"), ui.postClick("按钮2"); });
    ui.click("按钮1");
    EXPECT_TRUE(results().empty() && ui.shownBoxes().empty());   // all went: no box
    EXPECT_FALSE(fs.has("C:\\f0\\x.tmp") || fs.has("C:\\f1\\x.tmp"));
    base = ui.pumpCount();
    ui.setPumpHook([&](int pump) { if (pump == base + 3) ui.postClose(); });   // entering f1 of the next scan
    EXPECT_NO_THROW(ui.click("按钮1"));   // the model throws on any control touched after the close
    EXPECT_EQ(ui.pumpCount(), base + 3);
}

TEST_F(JunkScanTest, PatternAndDriveChangesDuringTheScanApplyToLaterFolders) {
    for (auto path : {"C:\\a\\x.tmp", "C:\\a\\x.log", "C:\\b\\y.tmp", "C:\\b\\y.log", "D:\\z.log"}) fs.addFile(path);
    checkPatterns({"*.tmp"});
    ui.setPumpHook([&](int pump) {   // entering C:\b: "*.log" on, D: off before it is reached
        if (pump == 3) ui.post([&] { ui.toggleItemCheck(kPatternList, 16), ui.setItemChecked(kDriveList, 1, false); }); });
    ui.click("按钮1");
    EXPECT_EQ(results(), (Strings{"C:\\a\\x.tmp", "C:\\b\\y.log", "C:\\b\\y.tmp"}));
}

TEST_F(JunkScanTest, DeleteOffersAScanOnAnEmptyListAndThenRemovesOnlyCheckedItemsWhoseFileWent) {
    for (auto path : {"C:\\~x.tmp", "C:\\keep.tmp", "C:\\inuse.tmp", "C:\\b\\~y.tmp"}) fs.addFile(path, "0123456789");
    fs.lockFile("C:\\inuse.tmp"), fs.hideUnder("C:\\inuse.tmp");   // it will not go, and cannot even be looked at
    checkPatterns({"*.tmp", "~*.*"});
    ui.answerMessage(false), ui.click("按钮2");   // an empty list: Cancel does nothing, OK scans
    EXPECT_TRUE(results().empty());
    EXPECT_EQ(ui.shownBoxes().at(0), (ControlModel::ShownBox{"删除项目为空,是否进行扫描?", "", MessageKind::OkCancelInfo, false}));
    ui.answerMessage(true), ui.click("按钮2");
    ASSERT_EQ(results(), (Strings{"C:\\~x.tmp", "C:\\keep.tmp", "C:\\inuse.tmp", "C:\\~x.tmp", "C:\\b\\~y.tmp", "C:\\b\\~y.tmp"}));
    ui.click("按钮4"), ui.click("按钮3");   // all unchecked, all checked again
    EXPECT_TRUE(results(true) == results() && fs.has("C:\\~x.tmp"));   // the scan deleted nothing
    ui.setItemChecked(kResultList, 1, false);
    fs.addFile("C:\\~x.tmp", "planted");   // replaced since the scan listed it: another file, which stays
    fs.addDrive("X:", true), ui.click("按钮2");   // X: is not in the drive array: the table does not show it
    // What is still there stays listed, unchecked, counted in one box; ~y.tmp's second item, found gone, leaves.
    EXPECT_EQ(results(), (Strings{"C:\\~x.tmp", "C:\\keep.tmp", "C:\\inuse.tmp", "C:\\~x.tmp"}));
    EXPECT_TRUE(results(true).empty());
    EXPECT_EQ(ui.shownBoxes().back(), (ControlModel::ShownBox{"有 2 个文件未能删除", "澄川清理助手", MessageKind::Ok, false}));
    EXPECT_TRUE(!fs.has("C:\\b\\~y.tmp") && fs.has("C:\\keep.tmp") && fs.has("C:\\inuse.tmp") && fs.content("C:\\~x.tmp") == "planted");
    EXPECT_TRUE(ui.caption("标签6").empty() && ui.rowCount(kDiskTable) == 2);
    EXPECT_EQ(log("delete"), (Strings{"delete C:\\~x.tmp", "delete C:\\inuse.tmp", "delete C:\\~x.tmp", "delete C:\\b\\~y.tmp", "delete C:\\b\\~y.tmp"}));
}

// With 单选框1 chosen, 按钮2 moves the checked files to their drive's bin. A drive without a usable bin, or a file
// replaced since the scan, keeps its file where it is, listed, unchecked, and nothing is deleted instead.
TEST_F(JunkScanTest, TheRecycleChoiceMovesCheckedFilesToTheirBinAndDeletesNothing) {
    EXPECT_TRUE(ui.checked("单选框2") && !ui.checked("单选框1") && !ui.disabled("单选框1"));   // deletion stays the default
    for (auto path : {"C:\\a.tmp", "C:\\swapped.tmp", "D:\\b.tmp"}) fs.addFile(path, "0123456789");
    fs.binless.insert("d:");
    checkPatterns({"*.tmp"});
    ui.click("按钮1"), ui.click("单选框1");
    fs.addFile("C:\\swapped.tmp", "planted");
    ui.click("按钮2");
    EXPECT_EQ(fs.recycled, Strings{"C:\\a.tmp"});
    EXPECT_EQ(results(), (Strings{"C:\\swapped.tmp", "D:\\b.tmp"}));
    EXPECT_TRUE(results(true).empty() && log("delete").empty() && fs.has("D:\\b.tmp") && !ui.checked("单选框2"));
    EXPECT_EQ(ui.shownBoxes().back(), (ControlModel::ShownBox{"有 2 个文件未能移到回收站", "澄川清理助手", MessageKind::Ok, false}));
    EXPECT_TRUE(ui.caption("标签6").empty() && ui.rowCount(kDiskTable) == 2);
}

// Where the system keeps no bin of each user's (XP's shared index), the choice stays off and 按钮2 deletes.
TEST(JunkRecycleChoiceTest, StaysOffWhereUsersHaveNoBinsOfTheirOwn) {
    struct OldSystem : fake::MemoryFileSystem { OldSystem() { recycleBins = false; } };
    fake::FakeProgramOn<OldSystem> xp;
    Chosen(xp), xp.fs.addFile("C:\\a.tmp");
    xp.ui.click("单选框1"), xp.ui.click("按钮1"), xp.ui.click("按钮2");
    EXPECT_TRUE(xp.ui.disabled("单选框1") && xp.ui.checked("单选框2") && !xp.fs.has("C:\\a.tmp"));
    EXPECT_EQ(xp.log("delete"), Strings{"delete C:\\a.tmp"});
    EXPECT_TRUE(xp.log("recycle").empty());
}

// Folding a folder's names for matching lets the window answer every few thousand names, not at every
// name: each answer is a round of the system's message queue.
TEST_F(JunkScanTest, AFolderOfManyFilesLetsTheWindowAnswerNowAndThenNotAtEveryName) {
    struct ManyNames : fake::MemoryFileSystem {   // C:\ holds that many files, and nothing else
        std::size_t files = 0;
        std::vector<FolderEntry> listFolder(std::string_view, const std::function<void()>&) override {
            std::vector<FolderEntry> entries(files);
            for (std::size_t i = 0; i < files; ++i) entries[i].name = std::to_string(i) + ".txt";
            return entries;
        }
    };
    fake::FakeProgramOn<ManyNames> many;
    ControlModel& model = Chosen(many);
    std::vector<int> answers{model.answerCount()};
    for (std::size_t files : {0, 10000}) many.fs.files = files, model.click("按钮1"), answers.push_back(model.answerCount());
    const int folding = (answers[2] - answers[1]) - (answers[1] - answers[0]);   // beyond a scan of an empty C:
    EXPECT_TRUE(folding >= 2 && folding <= 10) << folding;
}

// Both walks keep their own stack: a tree as deep as a 32,767-character path
// allows, walked on a thread whose stack could not hold one frame per folder.
TEST_F(JunkScanTest, BothWalksSurviveTheDeepestTreeOnASmallStack) {
    struct DeepTree : fake::MemoryFileSystem {
        std::vector<FolderEntry> listFolder(std::string_view folder, const std::function<void()>&) override {   // C:\, C:\a\, C:\a\a\ and so on
            return folder.size() < 32000 ? std::vector<FolderEntry>{{"a", true}} : std::vector<FolderEntry>{{"x.tmp"}, {"x.lnk"}};
        }
        ShortcutTarget readShortcut(std::string_view) override { return {ShortcutTarget::Kind::Path, "C:\\gone.exe"}; }
    };
    fake::FakeProgramOn<DeepTree> deep;
    ControlModel& model = Chosen(deep);
    pthread_attr_t small;   // 256 KB: 16 bytes a level would already overflow it
    pthread_t thread;
    ASSERT_EQ(pthread_attr_init(&small) + pthread_attr_setstacksize(&small, 256 * 1024), 0);
    const auto scanBoth = [](void* model) -> void* {
        return static_cast<ControlModel*>(model)->click("按钮1"), static_cast<ControlModel*>(model)->click("扫描"), nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &small, scanBoth, &model), 0);
    pthread_join(thread, nullptr);
    std::string bottom = "C:\\";
    while (bottom.size() < 32000) bottom += "a\\";   // 15,999 levels below the root
    ASSERT_TRUE(model.itemCount(kResultList) == 1 && model.itemCount(kShortcutList) == 1);
    EXPECT_EQ(model.itemText(kResultList, 0) + model.itemText(kShortcutList, 0), bottom + "x.tmp" + bottom + "x.lnk");
    EXPECT_EQ(model.pumpCount(), 2 * 16000);
}

TEST(SizeEstimate, BoundariesBetweenKilobytesAndMegabytes) {
    std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0.000KB"}, {1536, "1.500KB"}, {1048575, "1023.999KB"}, {1048576, "1.000MB"}, {3145728, "3.000MB"},
        {5ull << 30, "5120.000MB"}, {(1ull << 40) + (1ull << 19), "1048576.500MB"}};
    for (auto [bytes, text] : cases) EXPECT_EQ(SizeEstimateText(bytes), std::string("扫描到的文件约有") + text);
}
